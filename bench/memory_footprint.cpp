// Peak resident memory of the editor beside a bare Qt Quick window with 48
// buttons, with OpenGL and with the software renderer, on the current display
// (run it under xvfb-run for a machine-independent figure).
// Usage: build/bench/memory_footprint [ROUNDS=1] [SETTLE_SECONDS=3]
#include <QGuiApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

struct Sample {
    double peakMb = 0;
    double shownMs = -1;
};

// VmHWM of a running process, in MB.
double peakResidentMb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

bool windowShown(qint64 pid)
{
    QProcess search;
    search.start(QStringLiteral("xdotool"),
        {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), QString::number(pid)});
    search.waitForFinished(2000);
    return search.exitCode() == 0 && !search.readAllStandardOutput().trimmed().isEmpty();
}

// Starts the program with its own home, waits for its window and then until
// its peak stops growing for settleMs.
Sample measure(const QString &program, const QStringList &arguments, const QString &backend, int settleMs)
{
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        env.insert(QLatin1String(name), home.path());
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (backend.isEmpty())
        env.remove(QStringLiteral("QT_QUICK_BACKEND"));
    else
        env.insert(QStringLiteral("QT_QUICK_BACKEND"), backend);

    QProcess process;
    process.setProcessEnvironment(env);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    Sample sample;
    if (!process.waitForStarted(10000))
        return sample;
    while (process.state() == QProcess::Running && clock.elapsed() < 30000) {
        if (windowShown(process.processId())) {
            sample.shownMs = clock.elapsed();
            break;
        }
        QThread::msleep(10);
    }
    QElapsedTimer still;
    still.start();
    double peak = peakResidentMb(process.processId());
    while (process.state() == QProcess::Running && still.elapsed() < settleMs && clock.elapsed() < 60000) {
        QThread::msleep(100);
        const double now = peakResidentMb(process.processId());
        if (now > peak) {
            peak = now;
            still.restart();
        }
    }
    sample.peakMb = peak;
    if (process.state() != QProcess::Running)
        std::fprintf(stderr, "%s ended early (exit %d)\n", qPrintable(program), process.exitCode());
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
    }
    return sample;
}

Sample median(QVector<Sample> samples)
{
    std::sort(samples.begin(), samples.end(), [](const Sample &a, const Sample &b) { return a.peakMb < b.peakMb; });
    Sample m = samples.at(samples.size() / 2);
    QVector<double> shown;
    for (const Sample &s : samples)
        shown << s.shownMs;
    std::sort(shown.begin(), shown.end());
    m.shownMs = shown.at(shown.size() / 2);
    return m;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "memory_footprint: needs a display, e.g. xvfb-run -a -s \"-screen 0 1920x1080x24\"\n");
        return 2;
    }
    // Holds a connection to the display, or Xvfb resets between the programs
    // and the next one may fail to connect.
    QGuiApplication app(argc, argv);
    const int rounds = std::max(1, argc > 1 ? QByteArray(argv[1]).toInt() : 1);
    const int settleMs = 1000 * std::max(1, argc > 2 ? QByteArray(argv[2]).toInt() : 3);

    struct Backend {
        const char *label;
        QString name;
        double target;
    };
    std::printf("%-9s %16s %16s %7s %7s %22s\n", "renderer", "bare window MB", "korvel-mavu MB", "ratio", "target",
        "shown after ms (b / e)");
    bool within = true;
    for (const Backend &backend :
        {Backend{"OpenGL", QString(), 1.4}, Backend{"software", QStringLiteral("software"), 1.8}}) {
        QVector<Sample> bare, editor;
        for (int i = 0; i < rounds; ++i) {
            bare << measure(QStringLiteral(MAVU_BARE_WINDOW_PATH), {}, backend.name, settleMs);
            editor << measure(
                QStringLiteral(MAVU_EDITOR_PATH), {QStringLiteral("--simulator")}, backend.name, settleMs);
        }
        const Sample b = median(bare);
        const Sample e = median(editor);
        const double ratio = b.peakMb > 0 ? e.peakMb / b.peakMb : 0;
        within = within && ratio > 0 && ratio <= backend.target;
        std::printf("%-9s %16.1f %16.1f %6.2fx %6.2fx %10.0f / %-10.0f\n", backend.label, b.peakMb, e.peakMb, ratio,
            backend.target, b.shownMs, e.shownMs);
    }
    std::fflush(stdout);
    return within ? 0 : 1;
}
