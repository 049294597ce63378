// build/bench/preset_library [PRESETS=10000]: a folder of presets in the
// library, from nothing to its first screen of rows (names, dates, pictures)
// and scrolled through screen by screen; and what a snapshot of the
// controller's settings costs the window's thread.
#include "app/PresetDocument.h"
#include "app/PresetLibrary.h"
#include "model/ControllerHistory.h"
#include "model/DataManagement.h"
#include "model/EditHistory.h"
#include "model/EditSession.h"
#include "model/PresetFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVector>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kScreenRows = 30;

// Every role of the rows a screen shows, as the panel asks for them.
void showRows(PresetLibrary &library, int first)
{
    const QList<int> roles = library.roleNames().keys();
    for (int row = first; row < std::min(first + kScreenRows, library.rowCount()); ++row) {
        for (int role : roles)
            library.data(library.index(row), role);
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // the remembered folders are not the user's
    const int presets = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 10000;
    QTemporaryDir dir;
    DataManagement settings;
    settings.initDefaultData();
    for (int i = 0; i < presets; ++i) {
        settings.setPadInfo(i % 48, QStringLiteral("padData"), i % 128);
        const QString name = QStringLiteral("%1/song %2.%3")
                                 .arg(dir.path())
                                 .arg(i, 5, 10, QLatin1Char('0'))
                                 .arg(i % 3 == 0      ? "json"
                                         : i % 3 == 1 ? "stm"
                                                      : "syx");
        if (!preset::writeFile(name, settings.imageBytes(), nullptr))
            return std::fprintf(stderr, "cannot write %s\n", qPrintable(name)), 1;
    }

    EditHistory history(&settings);
    EditSession session(&settings);
    PresetDocument document(&settings, &history, &session);
    QElapsedTimer timer;
    timer.start();
    PresetLibrary library(&document, &session);
    library.setFolders({dir.path()});
    showRows(library, 0);
    const double firstScreen = timer.nsecsElapsed() / 1e6;
    double slowest = 0;
    for (int first = kScreenRows; first < library.rowCount(); first += kScreenRows) {
        timer.restart();
        showRows(library, first);
        slowest = std::max(slowest, timer.nsecsElapsed() / 1e6);
    }
    std::printf("library: %d presets, first screen %.1f ms, slowest further screen of %d rows %.2f ms\n",
        library.rowCount(), firstScreen, kScreenRows, slowest);

    history::Recorder recorder(dir.filePath(QStringLiteral("history")));
    constexpr int kSnapshots = 200;
    QVector<double> costs;
    for (int i = 0; i < kSnapshots; ++i) {
        settings.setPadInfo(0, QStringLiteral("padData"), i % 128);
        timer.restart();
        recorder.record(QStringLiteral("BENCH"), history::Event::Send, settings.imageBytes());
        costs << timer.nsecsElapsed() / 1e6;
    }
    timer.restart();
    recorder.waitForDone();
    const double behind = timer.nsecsElapsed() / 1e6;
    const double first = costs.takeFirst(); // starts the writing thread, once for the run
    std::sort(costs.begin(), costs.end());
    std::printf("snapshot on the calling thread: first %.3f ms, then median %.3f ms, slowest %.3f ms; %d written "
                "behind it in %.0f ms more\n",
        first, costs.at(costs.size() / 2), costs.last(), kSnapshots, behind);
    return firstScreen < 1000 ? 0 : 1;
}
