#include "simulator/InProcess.h"

#include "app/AppOptions.h"
#include "device/ControllerIds.h"
#include "device/LoopbackMidi.h"
#include "device/MidiSetup.h"
#include "simulator/SimMidiPorts.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>

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
    startInProcess(simOptions, parent);
}

} // namespace sim
