#include "device/MidiPollEventSource.h"

#include "device/MidiBackend.h"
#include "model/ControllerIds.h"

#include <QTimer>

MidiPollEventSource::MidiPollEventSource(MidiBackend *midi, int intervalMs, QObject *parent)
    : DeviceEventSource(parent)
    , m_midi(midi)
    , m_timer(new QTimer(this))
{
    // What is there now is the start-up check's business, not an arrival.
    m_present = controllerListed(m_midi);
    connect(m_timer, &QTimer::timeout, this, &MidiPollEventSource::poll);
    m_timer->start(intervalMs);
}

QString MidiPollEventSource::pathText()
{
    return QStringLiteral("MIDI\\%1\\%2")
        .arg(QLatin1String(controllerids::kUsbPathId), QLatin1String(controllerids::kPortName));
}

namespace {

bool anyNamed(const MidiBackend &backend, const QStringList &ids)
{
    for (const QString &id : ids) {
        if (backend.productName(id) == QLatin1String(controllerids::kPortName))
            return true;
    }
    return false;
}

} // namespace

bool MidiPollEventSource::controllerListed(MidiBackend *midi)
{
    // Its ports need not appear together; a link needs both.
    return midi && anyNamed(*midi, midi->inputPortIds()) && anyNamed(*midi, midi->outputPortIds());
}

void MidiPollEventSource::poll()
{
    const bool present = controllerListed(m_midi);
    if (present == m_present)
        return;
    m_present = present;
    emit deviceEvent(pathText(), present);
}
