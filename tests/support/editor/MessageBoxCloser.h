#pragma once

#include <QObject>
#include <QStringList>

namespace testsupport {

// Closes the next modal message box as soon as it shows, remembering its text.
// Lets tests drive code paths that show a QMessageBox.
class MessageBoxCloser : public QObject
{
    Q_OBJECT
public:
    explicit MessageBoxCloser(QObject *parent = nullptr);
    QStringList texts() const { return m_texts; }

private:
    void poll();
    QStringList m_texts;
};

} // namespace testsupport
