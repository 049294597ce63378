// Firmware transfer throughput on a line throttled to 115200 baud 8N1
// (11,520 bytes/s each way), as a fraction of the line rate: our YMODEM sender
// and lrzsz's sb, side by side in one run, each sending the same file to rb.
//
//   build/bench/firmware_throughput [KIB=300] [ROUNDS=1]
//
// The whole transfer runs from the sender's start until rb has exited with the
// whole file and the sender has said it is done; the data phase, read off the line, from the first byte of data block 1
// to rb's ACK of the last data block. On a terminal sb itself sometimes waits a
// minute for an ACK that rb took with it when it exited: it is stopped a few
// seconds after rb, counted as done when rb exited, and that is reported
// beside its figures.
#include "support/firmware/PtyLink.h"
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

#include <algorithm>
#include <cstdio>

namespace {

// 8N1: ten bits on the line per byte.
constexpr int kLineBytesPerSecond = YmodemFileTransmit::kBaudRate / 10;
constexpr int kRunLimitMs = 600000;
constexpr int kSenderAfterRbMs = 5000;
constexpr char kSoh = Ymodem::CodeSoh;
constexpr char kStx = Ymodem::CodeStx;
constexpr char kEot = Ymodem::CodeEot;
constexpr char kAck = Ymodem::CodeAck;
constexpr int kShortBlock = Ymodem::kHeaderPayload + Ymodem::kPacketOverhead;
constexpr int kLongBlock = Ymodem::kLongPayload + Ymodem::kPacketOverhead;

struct Run {
    bool ok = false;
    double seconds = 0;
    double dataSeconds = -1; // the data phase; -1 when the line does not show one
    int resent = 0; // data blocks sent again
    long long lineBytes = 0;
    QString note;
};

// The data phase on the line: from the first byte of data block 1 going out
// to the receiver's ACK of the last data block before the EOT; and how many
// data blocks went out again (the receiver's NAK, or no answer in time).
struct DataPhase {
    double seconds = -1; // -1 when the line does not show one
    int resent = 0;
};

DataPhase dataPhase(const QVector<PtyLink::Delivery> &traffic)
{
    QByteArray out;
    QVector<double> sentAt; // per byte
    for (const PtyLink::Delivery &d : traffic) {
        if (!d.forward)
            continue;
        out += d.bytes;
        sentAt.insert(sentAt.size(), d.bytes.size(), d.seconds);
    }
    DataPhase phase;
    double firstData = -1;
    double lastDataEnd = -1;
    int lastNumber = -1;
    for (int i = 0; i < out.size();) {
        const char c = out.at(i);
        if (c == kEot)
            break;
        const int length = c == kSoh ? kShortBlock : c == kStx ? kLongBlock : 1;
        if (length > 1 && i + length <= out.size()) {
            // Block 0 is the header until the first data block; later a block
            // numbered 0 is the 256th data block.
            const int number = quint8(out.at(i + 1));
            const bool header = firstData < 0 && number == 0;
            if (!header) {
                if (firstData < 0)
                    firstData = sentAt.at(i);
                lastDataEnd = sentAt.at(i + length - 1);
                if (number == lastNumber)
                    ++phase.resent;
                lastNumber = number;
            }
        }
        i += length;
    }
    if (firstData < 0)
        return phase;
    for (const PtyLink::Delivery &d : traffic) {
        if (!d.forward && d.seconds >= lastDataEnd && d.bytes.contains(kAck)) {
            phase.seconds = d.seconds - firstData;
            break;
        }
    }
    return phase;
}

// One run's throttled line, and rb receiving in a folder of its own.
struct Setup {
    QTemporaryDir folder;
    PtyLink link{kLineBytesPerSecond};
    QProcess rb;

    bool open(Run *run)
    {
        QString error;
        link.keepTraffic();
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
// succeeded, otherwise what went wrong, and sets when it said so (ms on
// the run's clock, -1: take rb's end); `senderNote` anything to report that
// does not spoil the transfer.
template <typename Start, typename SenderResult>
Run timedRun(
    const QString &file, const QString &name, Start start, SenderResult senderResult, QString *senderNote = nullptr)
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
    const qint64 rbEnded = timer.elapsed();
    run.lineBytes = setup.link.forwarded();
    qint64 senderDone = -1;
    const QString senderFailure = senderResult(timer, &senderDone);
    run.seconds = qMax(rbEnded, senderDone) / 1000.0;
    const DataPhase phase = dataPhase(setup.link.traffic());
    run.dataSeconds = phase.seconds;
    run.resent = phase.resent;
    run.ok
        = ended && setup.rb.exitCode() == 0 && senderFailure.isEmpty() && sameFile(file, setup.folder.filePath(name));
    if (!run.ok)
        run.note = QStringLiteral("failed (rb exit %1; %2)").arg(setup.rb.exitCode()).arg(senderFailure);
    else if (senderNote)
        run.note = *senderNote;
    return run;
}

Run runOurs(const QString &file, const QString &name)
{
    YmodemFileTransmit transmit;
    YmodemFileTransmit::Status outcome = YmodemFileTransmit::StatusError;
    QElapsedTimer started; // begins with the run's clock
    qint64 doneAt = -1;
    QObject::connect(&transmit, &YmodemFileTransmit::transmitStatus, [&](YmodemFileTransmit::Status s) {
        if (s != YmodemFileTransmit::StatusEstablish && s != YmodemFileTransmit::StatusTransmit) {
            outcome = s;
            doneAt = started.elapsed();
        }
    });
    auto start = [&](const QString &port) {
        started.start();
        transmit.setFileName(file);
        transmit.setPortName(port);
        transmit.setPortBaudRate(YmodemFileTransmit::kBaudRate);
        return transmit.startTransmit();
    };
    auto result = [&](const QElapsedTimer &, qint64 *done) {
        QElapsedTimer settle;
        settle.start();
        while (doneAt < 0 && settle.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        *done = doneAt >= 0 ? doneAt : started.elapsed();
        return outcome == YmodemFileTransmit::StatusFinish ? QString() : QStringLiteral("status %1").arg(int(outcome));
    };
    return timedRun(file, name, start, result);
}

Run runSb(const QString &file, const QString &name)
{
    QProcess sb;
    QString note;
    auto start = [&](const QString &port) {
        sb.setStandardInputFile(port);
        sb.setStandardOutputFile(port, QIODevice::Append);
        sb.setStandardErrorFile(QProcess::nullDevice());
        sb.start(QStringLiteral("sb"), {QStringLiteral("-k"), file});
        return sb.waitForStarted(5000);
    };
    auto result = [&](const QElapsedTimer &timer, qint64 *done) {
        const bool exited = waitFor(&sb, kSenderAfterRbMs);
        *done = exited ? timer.elapsed() : -1;
        if (!exited) {
            // rb has the file and is gone; sb waits for the ACK it took along.
            sb.kill();
            sb.waitForFinished(2000);
            note = QStringLiteral("sb still waiting %1 s after rb ended (rb's last ACK lost); stopped")
                       .arg(kSenderAfterRbMs / 1000);
            return QString();
        }
        return sb.exitCode() == 0 ? QString() : QStringLiteral("sb exit %1").arg(sb.exitCode());
    };
    return timedRun(file, name, start, result, &note);
}

void print(const char *who, const Run &run, qint64 size)
{
    if (!run.ok) {
        std::printf("%-26s %s\n", who, qPrintable(run.note));
        return;
    }
    const auto ratio = [size](double seconds) { return double(size) / seconds / kLineBytesPerSecond; };
    std::printf("%-26s whole %7.2f s ratio %.3f", who, run.seconds, ratio(run.seconds));
    if (run.dataSeconds > 0)
        std::printf("   data phase %7.2f s ratio %.3f", run.dataSeconds, ratio(run.dataSeconds));
    else
        std::printf("   data phase not seen on the line");
    std::printf("   %lld line bytes", run.lineBytes);
    if (run.resent > 0)
        std::printf(", %d block(s) sent again", run.resent);
    std::printf("\n");
    if (!run.note.isEmpty())
        std::printf("%-26s   (%s)\n", "", qPrintable(run.note));
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

    std::printf("%d bytes over a %d-baud 8N1 line (%d bytes/s each way), %d round(s)\n", int(bytes.size()),
        int(YmodemFileTransmit::kBaudRate), kLineBytesPerSecond, rounds);
    bool allOk = true;
    QList<double> ourPhases;
    QList<double> sbPhases;
    const auto keepPhase = [&bytes](const Run &run, QList<double> *phases) {
        if (run.ok && run.dataSeconds > 0)
            *phases << double(bytes.size()) / run.dataSeconds / kLineBytesPerSecond;
    };
    for (int round = 1; round <= rounds; ++round) {
        const Run ours = runOurs(file, name);
        const Run theirs = runSb(file, name);
        print("YmodemFileTransmit -> rb", ours, bytes.size());
        print("lrzsz sb -> rb", theirs, bytes.size());
        keepPhase(ours, &ourPhases);
        keepPhase(theirs, &sbPhases);
        allOk = allOk && ours.ok && theirs.ok;
    }
    if (rounds > 1) {
        const auto median = [](QList<double> v) {
            std::sort(v.begin(), v.end());
            return v.isEmpty() ? 0.0 : v.at(v.size() / 2);
        };
        std::printf("data phase, median of the rounds: ours %.3f, sb %.3f of the line rate (aim: 0.97 or more)\n",
            median(ourPhases), median(sbPhases));
    }
    return allOk ? 0 : 1;
}
