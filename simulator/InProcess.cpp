#include "simulator/InProcess.h"

#include "device/LoopbackMidi.h"
#include "model/ControllerIds.h"
#include "model/SettingsBackup.h"
#include "simulator/SimLog.h"
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

SimulatedDevice *startInProcess(LoopbackMidi *midi, const SimOptions &options, QObject *parent)
{
    auto *ports = new LoopbackSimPorts(midi, QLatin1String(controllerids::kPortName));
    auto *device = new SimulatedDevice(ports, options, parent);
    QObject::connect(
        device, &SimulatedDevice::note, device, [](const QString &line) { qCDebug(lcSim) << "simulator:" << line; });
    QString error;
    device->plug(&error);
    return device;
}

QString extractDemoFirmware(QString *version)
{
    initDemoFirmwareResource();
    const QString folder
        = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/demo-firmware");
    const QDir source(QStringLiteral(":/demo-firmware"));
    if (!QDir().mkpath(folder)) {
        qCWarning(lcSim) << "cannot create the demo firmware folder" << folder;
        return QString();
    }
    for (const QString &name : source.entryList(QDir::Files)) {
        QFile in(source.filePath(name));
        QSaveFile out(folder + QLatin1Char('/') + name);
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly) || out.write(in.readAll()) < 0
            || !out.commit()) {
            qCWarning(lcSim) << "cannot write the demo firmware" << out.fileName() << out.errorString();
            return QString();
        }
    }
    QFile description(source.filePath(QStringLiteral("describe1.json")));
    if (description.open(QIODevice::ReadOnly))
        *version = QJsonDocument::fromJson(description.readAll()).object().value(QStringLiteral("ver")).toString();
    return folder;
}

SimulatedLink startSimulatedLink(const SharedOptions &options, QObject *parent)
{
    SimulatedLink setup;
    setup.updatePort = options.updatePort;
    setup.firmwareServer = options.firmwareServer;
    setup.dataFolder = settingsbackup::dataFolder(true);
    if (setup.updatePort.isEmpty()) {
        setup.updatePort = QDir::temp().filePath(
            QStringLiteral("korvel-mavu-sim-%1-update").arg(QCoreApplication::applicationPid()));
    }
    SimOptions simOptions;
    simOptions.updateLink = setup.updatePort;
    // What the simulated controller plays once read, as mavu-sim's --play.
    simOptions.play = qEnvironmentVariable("KORVEL_MAVU_SIM_PLAY");
    if (setup.firmwareServer.isEmpty()) {
        // Without a server of its own the demo offers a newer firmware from
        // a folder on this machine, so the whole update runs offline.
        QString version;
        const QString folder = extractDemoFirmware(&version);
        if (!folder.isEmpty()) {
            setup.firmwareServer = QUrl::fromLocalFile(folder + QLatin1Char('/')).toString();
            simOptions.versionAfterUpdate = version;
        }
    }
    auto midi = std::make_unique<LoopbackMidi>();
    startInProcess(midi.get(), simOptions, parent);
    setup.midi = std::move(midi);
    return setup;
}

} // namespace sim
