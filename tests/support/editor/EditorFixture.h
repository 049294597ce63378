#pragma once

#include "support/editor/EditorHarness.h"

#include <QObject>
#include <QTemporaryDir>

class DataManagement;
class MainWindow;
class PresetDocument;

// A base for test cases on the whole editor in this process (InProcessEditor),
// started once for the test case; a test function that leaves a warning in
// the log fails. A private folder takes files.
class EditorFixture : public QObject
{
    Q_OBJECT
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    DataManagement *settings() const;

    InProcessEditor m_editor;
    Editor *m_objects = nullptr;
    MainWindow *m_window = nullptr;
    PresetDocument *m_document = nullptr;
    QTemporaryDir m_dir;

protected slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
};
