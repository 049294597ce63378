#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

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
// mavuctl of this build, run so.
ProcessResult mavuctl(const QStringList &args, int timeoutMs = 30000);

} // namespace testsupport
