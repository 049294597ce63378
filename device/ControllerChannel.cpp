#include "device/ControllerChannel.h"

void ControllerChannel::addWaiter(Waiter *waiter)
{
    if (!m_waiters.contains(waiter))
        m_waiters.append(waiter);
}

void ControllerChannel::removeWaiter(Waiter *waiter)
{
    m_waiters.removeAll(waiter);
}

void ControllerChannel::deliver(const QByteArray &message)
{
    // Queued: whoever takes a reply may close the ports, which must not
    // happen while the port layer is still handing it over.
    QMetaObject::invokeMethod(
        this, [this, message] { offer(message); }, Qt::QueuedConnection);
}

void ControllerChannel::offer(const QByteArray &message)
{
    // A waiter that takes the message may add or remove waiters.
    const QList<Waiter *> waiters = m_waiters;
    for (Waiter *waiter : waiters) {
        if (m_waiters.contains(waiter) && waiter->take(message))
            return;
    }
    emit received(message);
}
