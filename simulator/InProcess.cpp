#include "simulator/InProcess.h"

#include "app/AppOptions.h"
#include "device/ControllerIds.h"
#include "device/LoopbackMidi.h"
#include "device/MidiSetup.h"
#include "simulator/SimMidiPorts.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

// Resources of a static library are registered by hand, outside any namespace.
static void initDemoFirmwareResource()
{
    Q_INIT_RESOURCE(demo_firmware);
}

namespace sim {

SimulatedDevice *startInProcess(const SimOptions &options, QObject *parent)
{
    auto midi = std::make_unique<LoopbackMidi>();
    auto *ports = new LoopbackSimPorts(midi.get(), QLatin1String(controllerids::kPortName));
    setMidiBackend(std::move(midi));
    auto *device = new SimulatedDevice(ports, options, parent);
    QObject::connect(device, &SimulatedDevice::note, device, [](const QString &line) { qDebug() << "simulator:" << line; });
    QString error;
    device->plug(&error);
    return device;
}

QString extractDemoFirmware(QString *version)
{
    initDemoFirmwareResource();
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/demo-firmware");
    const QDir source(QStringLiteral(":/demo-firmware"));
    if (!QDir().mkpath(folder)) {
        qWarning() << "cannot create the demo firmware folder" << folder;
        return QString();
    }
    for (const QString &name : source.entryList(QDir::Files)) {
        QFile in(source.filePath(name));
        QSaveFile out(folder + QLatin1Char('/') + name);
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly) || out.write(in.readAll()) < 0
            || !out.commit()) {
            qWarning() << "cannot write the demo firmware" << out.fileName() << out.errorString();
            return QString();
        }
    }
    QFile description(source.filePath(QStringLiteral("describe1.json")));
    if (description.open(QIODevice::ReadOnly))
        *version = QJsonDocument::fromJson(description.readAll()).object().value(QStringLiteral("ver")).toString();
    return folder;
}

void installControllerLink(QObject *parent)
{
    AppOptions options = AppOptions::current();
    if (!options.simulator) {
        QString error;
        if (!installSystemMidi(options.midiApi, QCoreApplication::applicationName(), &error))
            qWarning() << "no MIDI system:" << error;
        return;
    }
    if (options.updatePort.isEmpty()) {
        options.updatePort = QDir::temp().filePath(
            QStringLiteral("korvel-mavu-sim-%1-update").arg(QCoreApplication::applicationPid()));
        AppOptions::setCurrent(options);
    }
    SimOptions simOptions;
    simOptions.updateLink = options.updatePort;
    // What the simulated controller plays once read, as mavu-sim's --play.
    simOptions.play = qEnvironmentVariable("KORVEL_MAVU_SIM_PLAY");
    if (options.firmwareServer.isEmpty()) {
        // Without a server of its own the demo offers a newer firmware from
        // a folder on this machine, so the whole update runs offline.
        QString version;
        const QString folder = extractDemoFirmware(&version);
        if (!folder.isEmpty()) {
            options.firmwareServer = QUrl::fromLocalFile(folder + QLatin1Char('/')).toString();
            AppOptions::setCurrent(options);
            simOptions.versionAfterUpdate = version;
        }
    }
    startInProcess(simOptions, parent);
}

} // namespace sim
