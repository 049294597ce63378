#include "support/FaultReport.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MAVU_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define MAVU_ASAN 1
#endif

#ifdef MAVU_ASAN
#include <sanitizer/allocator_interface.h>
#else
#include <malloc.h>
#endif

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

long memoryInUseKb()
{
#ifdef MAVU_ASAN
    return long(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    return long(mallinfo2().uordblks / 1024);
#endif
}

} // namespace faults
