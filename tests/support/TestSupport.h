#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// Small helpers shared by the test programs.
namespace testsupport {

QByteArray readAll(const QString &path);
void writeAll(const QString &path, const QByteArray &bytes);
QByteArray fromHex(const char *spacedHex);

// Runs a program to completion (at most timeoutMs) and gives its exit code, output and errors.
struct ProcessResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
ProcessResult run(const QString &program, const QStringList &args, int timeoutMs = 30000);

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
