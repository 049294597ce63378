#include "app/AppLog.h"
#include "app/AppOptions.h"
#include "app/Editor.h"
#include "app/InstanceServer.h"
#include "app/LogHandler.h"
#include "app/LogindPowerSource.h"
#include "app/PresetDocument.h"
#include "app/QmlTypes.h"
#include "app/SceneGraphChoice.h"
#include "app/SingleInstance.h"
#include "device/MidiSetup.h"
#include "simulator/InProcess.h"
#include "workflows/StopSignals.h"

#include <QApplication>
#include <QDebug>
#include <QTextStream>

#include <cstdio>
#include <memory>

// The program's one composition root: the options, the single copy, the log,
// the MIDI system (or the simulated controller inside it), then the editor on
// them and what reaches it from outside (sleep and wake, later starts).
int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const AppOptions options = AppOptions::parse(arguments);
    if (!options.error.isEmpty() || options.showHelp || options.showVersion) {
        QTextStream out(options.error.isEmpty() ? stdout : stderr);
        if (!options.error.isEmpty())
            out << "korvel-mavu: " << options.error << '\n';
        else if (options.showHelp)
            out << AppOptions::helpText();
        else
            out << "korvel-mavu " << MAVU_VERSION << '\n';
        return options.error.isEmpty() ? 0 : 2;
    }

    if (isAppRunning(QStringLiteral("korvelMavu"), options.files))
        return 0;

    registerQmlTypes();

    QApplication app(argc, argv);
    installLogHandler(QStringLiteral("Log"), 1024, true);
    qCDebug(lcApp) << "app/main.cpp" << 20 << "================progress start================";
    // Settled before the first window: the scene graph back end cannot change later.
    scenegraph::settle();

    // The MIDI system outlives the editor, which looks for the controller as it starts.
    std::unique_ptr<MidiBackend> midi;
    QString updatePort = options.updatePort;
    QString firmwareServer = options.firmwareServer;
    QString dataFolder;
    if (options.simulator) {
        sim::SimulatedLink link = sim::startSimulatedLink(options, &app);
        midi = std::move(link.midi);
        updatePort = link.updatePort;
        firmwareServer = link.firmwareServer;
        dataFolder = link.dataFolder;
    } else {
        QString error;
        midi = startSystemMidi(options.midiApi, QCoreApplication::applicationName(), &error);
        if (!midi)
            qCWarning(lcApp) << "no MIDI system:" << error;
    }
    EditorSetup setup(midi.get(), updatePort, firmwareServer, dataFolder);
    Editor editor(setup);
    // KORVEL_MAVU_POWER_BUS names a bus standing in for the system bus's logind.
    editor.watchPowerEvents(new LogindPowerSource(qEnvironmentVariable("KORVEL_MAVU_POWER_BUS")));
    ProcessStopSignals stopSignals;
    editor.watchStopSignals(&stopSignals);
    // Later copies reach this one from here on and hand over their files.
    if (InstanceServer *server = startInstanceServer(&app))
        QObject::connect(server, &InstanceServer::filesRequested, &editor.document(), &PresetDocument::openPresetFiles);
    editor.document().openPresetFiles(options.files);
    return QApplication::exec();
}
