#include "device/MidiSetup.h"

#include "device/DeviceLog.h"
#include "device/RtMidiBackend.h"

#include <QDebug>

std::unique_ptr<MidiBackend> startSystemMidi(const QString &api, const QString &clientName, QString *error)
{
    std::unique_ptr<RtMidiBackend> backend = RtMidiBackend::create(api, clientName, error);
    if (backend)
        qCDebug(lcDevice) << "MIDI system:" << backend->apiName();
    return backend;
}
