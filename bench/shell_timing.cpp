// Times the application shell's costs that users feel:
//   - a second start of the editor while one runs, until it has ended;
//   - writing log lines, file kept open (flushed per line) and reopened per line.
// Usage: build/bench/shell_timing [ROUNDS]
#include "app/InstanceRendezvous.h"
#include "app/InstanceRequest.h"
#include "app/LogClock.h"
#include "app/RunLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

QProcessEnvironment privateEnvironment(const QString &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        env.insert(QLatin1String(name), home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    return env;
}

void secondStart(int rounds)
{
    QTemporaryDir home;
    QProcess first;
    first.setProcessEnvironment(privateEnvironment(home.path()));
    first.start(QStringLiteral(MAVU_EDITOR_PATH), QStringList());
    QElapsedTimer wait;
    wait.start();
    // Until the running copy answers: its start is not what is measured.
    LocalRendezvous probe(QStringLiteral("korvelMavu"), home.path());
    while (probe.deliver(instancerequest::encode({}), 1000).isEmpty() && wait.elapsed() < 60000)
        QThread::msleep(20);

    QVector<double> times;
    int failures = 0;
    for (int i = 0; i < rounds; ++i) {
        QProcess second;
        second.setProcessEnvironment(privateEnvironment(home.path()));
        QElapsedTimer timer;
        timer.start();
        second.start(QStringLiteral(MAVU_EDITOR_PATH), QStringList());
        const bool ended = second.waitForFinished(10000);
        times << timer.nsecsElapsed() / 1e6;
        if (!ended || second.exitCode() != 0)
            ++failures;
    }
    first.kill();
    first.waitForFinished();
    const auto worst = std::max_element(times.cbegin(), times.cend());
    std::printf("second start until exit: median %.1f ms, worst %.1f ms over %d runs, %d not ending with 0\n",
        median(times), worst == times.cend() ? 0.0 : *worst, rounds, failures);
}

void logLines(int lines)
{
    for (const bool keepOpen : {true, false}) {
        QTemporaryDir dir;
        RunLog log(dir.path(), keepOpen, std::make_shared<SystemLogClock>());
        const QString text = QStringLiteral("onDevArrivalOrRemove \"zt118\" true ------------------|||||||||||||||||");
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < lines; ++i)
            log.write(QtDebugMsg, text);
        const double us = timer.nsecsElapsed() / 1e3 / lines;
        std::printf("log line, %s: %.2f us per line (%d lines)\n",
            keepOpen ? "file kept open, flushed per line" : "file reopened per line", us, lines);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 20;
    secondStart(rounds);
    logLines(20000);
    return 0;
}
