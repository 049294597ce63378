// Firmware transfer throughput on a line throttled to 115200 baud 8N1
// (11,520 bytes/s each way), as a fraction of the line rate: our YMODEM sender
// and lrzsz's sb, side by side in one run, each sending the same file to rb.
//
//   build/bench/firmware_throughput [KIB=300] [ROUNDS=1]
//
// Time runs from the sender's start to rb's exit with the whole file.
#include "PtyLink.h"
#include "firmware/YmodemFileTransmit.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kLineBytesPerSecond = 11520;
constexpr int kRunLimitMs = 600000;

struct Run {
    bool ok = false;
    double seconds = 0;
    long long lineBytes = 0;
    QString note;
};

// One run's throttled line, and rb receiving in a folder of its own.
struct Setup {
    QTemporaryDir folder;
    PtyLink link{kLineBytesPerSecond};
    QProcess rb;

    bool open(Run *run)
    {
        QString error;
        if (folder.isValid() && link.open(&error))
            return true;
        run->note = QStringLiteral("no line: %1").arg(error);
        return false;
    }

    bool startRb()
    {
        rb.setWorkingDirectory(folder.path());
        rb.setStandardInputFile(link.peerInputPath());
        rb.setStandardOutputFile(link.peerOutputPath(), QIODevice::Append);
        rb.setStandardErrorFile(QProcess::nullDevice());
        rb.start(QStringLiteral("rb"), {QStringLiteral("-b"), QStringLiteral("-u")});
        return rb.waitForStarted(5000);
    }
};

bool waitFor(QProcess *process, int ms)
{
    QEventLoop loop;
    QObject::connect(process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), &loop, &QEventLoop::quit);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    if (process->state() != QProcess::NotRunning)
        loop.exec();
    return process->state() == QProcess::NotRunning;
}

bool sameFile(const QString &a, const QString &b)
{
    QFile fa(a);
    QFile fb(b);
    return fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly) && fa.readAll() == fb.readAll();
}

Run runOurs(const QString &file, const QString &name)
{
    Run run;
    Setup setup;
    if (!setup.open(&run))
        return run;
    PtyLink &link = setup.link;
    QProcess &rb = setup.rb;
    YmodemFileTransmit transmit;
    transmit.setFileName(file);
    transmit.setPortName(link.portPath());
    transmit.setPortBaudRate(115200);
    YmodemFileTransmit::Status outcome = YmodemFileTransmit::StatusError;
    QObject::connect(&transmit, &YmodemFileTransmit::transmitStatus, [&](YmodemFileTransmit::Status s) {
        if (s != YmodemFileTransmit::StatusEstablish && s != YmodemFileTransmit::StatusTransmit)
            outcome = s;
    });
    QElapsedTimer timer;
    timer.start();
    if (!transmit.startTransmit() || !setup.startRb()) {
        run.note = QStringLiteral("could not start");
        return run;
    }
    const bool ended = waitFor(&rb, kRunLimitMs);
    run.seconds = timer.elapsed() / 1000.0;
    run.lineBytes = link.forwarded();
    QElapsedTimer settle;
    settle.start();
    while (outcome == YmodemFileTransmit::StatusError && settle.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    run.ok = ended && rb.exitCode() == 0 && outcome == YmodemFileTransmit::StatusFinish
        && sameFile(file, setup.folder.filePath(name));
    if (!run.ok)
        run.note = QStringLiteral("failed (status %1, rb exit %2)").arg(int(outcome)).arg(rb.exitCode());
    return run;
}

Run runSb(const QString &file, const QString &name)
{
    Run run;
    Setup setup;
    if (!setup.open(&run))
        return run;
    PtyLink &link = setup.link;
    QProcess &rb = setup.rb;
    QProcess sb;
    sb.setStandardInputFile(link.portPath());
    sb.setStandardOutputFile(link.portPath(), QIODevice::Append);
    sb.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    sb.start(QStringLiteral("sb"), {QStringLiteral("-k"), file});
    if (!sb.waitForStarted(5000) || !setup.startRb()) {
        run.note = QStringLiteral("could not start");
        return run;
    }
    const bool ended = waitFor(&rb, kRunLimitMs);
    run.seconds = timer.elapsed() / 1000.0;
    run.lineBytes = link.forwarded();
    waitFor(&sb, 5000);
    run.ok = ended && rb.exitCode() == 0 && sameFile(file, setup.folder.filePath(name));
    if (!run.ok)
        run.note = QStringLiteral("failed (rb exit %1, sb exit %2)").arg(rb.exitCode()).arg(sb.exitCode());
    return run;
}

void print(const char *who, const Run &run, qint64 size)
{
    if (!run.ok) {
        std::printf("%-34s %s\n", who, qPrintable(run.note));
        return;
    }
    const double ratio = double(size) / run.seconds / kLineBytesPerSecond;
    std::printf("%-34s %7.2f s  %8lld line bytes  ratio %.3f of the line rate\n", who, run.seconds, run.lineBytes,
                ratio);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    const QStringList args = app.arguments().mid(1);
    const int kib = args.value(0, QStringLiteral("300")).toInt();
    const int rounds = qMax(1, args.value(1, QStringLiteral("1")).toInt());
    if (kib <= 0) {
        std::fprintf(stderr, "usage: firmware_throughput [KIB=300] [ROUNDS=1]\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString name = QStringLiteral("firmware.bin");
    const QString file = dir.filePath(name);
    QFile out(file);
    if (!dir.isValid() || !out.open(QIODevice::WriteOnly))
        return 1;
    QByteArray bytes(kib * 1024, '\0');
    QRandomGenerator generator(2024);
    for (char &b : bytes)
        b = char(generator.bounded(256));
    out.write(bytes);
    out.close();

    std::printf("%d bytes over a 115200-baud 8N1 line (%d bytes/s each way), %d round(s)\n", int(bytes.size()),
                kLineBytesPerSecond, rounds);
    bool allOk = true;
    for (int round = 1; round <= rounds; ++round) {
        const Run ours = runOurs(file, name);
        const Run theirs = runSb(file, name);
        print("YmodemFileTransmit -> rb", ours, bytes.size());
        print("lrzsz sb -> rb", theirs, bytes.size());
        allOk = allOk && ours.ok && theirs.ok;
    }
    return allOk ? 0 : 1;
}
