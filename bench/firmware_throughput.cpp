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
        rb.setStandardInputFile(link.peerPath());
        rb.setStandardOutputFile(link.peerPath(), QIODevice::Append);
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

// One timed transfer to rb. `start` sets the sender going on the line;
// `senderResult` waits for the sender to end and returns "" when it
// succeeded, otherwise what went wrong.
template <typename Start, typename SenderResult>
Run timedRun(const QString &file, const QString &name, Start start, SenderResult senderResult)
{
    Run run;
    Setup setup;
    if (!setup.open(&run))
        return run;
    QElapsedTimer timer;
    timer.start();
    if (!start(setup.link.portPath()) || !setup.startRb()) {
        run.note = QStringLiteral("could not start");
        return run;
    }
    const bool ended = waitFor(&setup.rb, kRunLimitMs);
    run.seconds = timer.elapsed() / 1000.0;
    run.lineBytes = setup.link.forwarded();
    const QString senderFailure = senderResult();
    run.ok = ended && setup.rb.exitCode() == 0 && senderFailure.isEmpty()
        && sameFile(file, setup.folder.filePath(name));
    if (!run.ok)
        run.note = QStringLiteral("failed (rb exit %1; %2)").arg(setup.rb.exitCode()).arg(senderFailure);
    return run;
}

Run runOurs(const QString &file, const QString &name)
{
    YmodemFileTransmit transmit;
    YmodemFileTransmit::Status outcome = YmodemFileTransmit::StatusError;
    QObject::connect(&transmit, &YmodemFileTransmit::transmitStatus, [&](YmodemFileTransmit::Status s) {
        if (s != YmodemFileTransmit::StatusEstablish && s != YmodemFileTransmit::StatusTransmit)
            outcome = s;
    });
    auto start = [&](const QString &port) {
        transmit.setFileName(file);
        transmit.setPortName(port);
        transmit.setPortBaudRate(115200);
        return transmit.startTransmit();
    };
    auto result = [&] {
        QElapsedTimer settle;
        settle.start();
        while (outcome == YmodemFileTransmit::StatusError && settle.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return outcome == YmodemFileTransmit::StatusFinish ? QString()
                                                           : QStringLiteral("status %1").arg(int(outcome));
    };
    return timedRun(file, name, start, result);
}

Run runSb(const QString &file, const QString &name)
{
    QProcess sb;
    auto start = [&](const QString &port) {
        sb.setStandardInputFile(port);
        sb.setStandardOutputFile(port, QIODevice::Append);
        sb.setStandardErrorFile(QProcess::nullDevice());
        sb.start(QStringLiteral("sb"), {QStringLiteral("-k"), file});
        return sb.waitForStarted(5000);
    };
    auto result = [&] {
        waitFor(&sb, 5000);
        return sb.exitCode() == 0 ? QString() : QStringLiteral("sb exit %1").arg(sb.exitCode());
    };
    return timedRun(file, name, start, result);
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
