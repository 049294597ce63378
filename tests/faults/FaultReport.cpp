#include "FaultReport.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace faults {

void reportLine(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
    const QString folder = QString::fromLocal8Bit(qgetenv("MAVU_TEST_BINARY_DIR"));
    if (folder.isEmpty())
        return;
    QFile file(folder + QStringLiteral("/faults-summary.txt"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        file.write(line.toUtf8() + '\n');
}

void reportFaults(const QString &name, int injected, int survived)
{
    reportLine(QStringLiteral("FAULTS: %1 injected=%2 survived=%3").arg(name).arg(injected).arg(survived));
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

} // namespace faults
