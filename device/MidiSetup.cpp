#include "device/MidiSetup.h"

#include "device/RtMidiBackend.h"

#include <QDebug>

bool installSystemMidi(const QString &api, const QString &clientName, QString *error)
{
    std::unique_ptr<RtMidiBackend> backend = RtMidiBackend::create(api, clientName, error);
    if (!backend)
        return false;
    qDebug() << "MIDI system:" << backend->apiName();
    setMidiBackend(std::move(backend));
    return true;
}
