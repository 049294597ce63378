#pragma once

#include "model/DataManagement.h"

#include <QObject>
#include <QTemporaryDir>

// A base for test cases on the settings model: before each test function the
// settings are the defaults again, and a private folder takes files.
class SettingsFixture : public QObject
{
    Q_OBJECT
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    DataManagement m_data;
    QByteArray m_defaults;

private slots:
    void init();
};
