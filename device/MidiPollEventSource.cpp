#include "device/MidiPollEventSource.h"

#include "device/ControllerIds.h"
#include "device/MidiBackend.h"

#include <QTimer>

MidiPollEventSource::MidiPollEventSource(int intervalMs, QObject *parent)
    : DeviceEventSource(parent)
    , m_timer(new QTimer(this))
{
    // What is there now is the start-up check's business, not an arrival.
    m_present = controllerListed();
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

bool MidiPollEventSource::controllerListed()
{
    // Its ports need not appear together; a link needs both.
    MidiBackend *backend = midiBackend();
    return backend && anyNamed(*backend, backend->inputPortIds()) && anyNamed(*backend, backend->outputPortIds());
}

void MidiPollEventSource::poll()
{
    const bool present = controllerListed();
    if (present == m_present)
        return;
    m_present = present;
    emit deviceEvent(pathText(), present);
}
