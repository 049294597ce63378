#include "firmware/UpdatePortWait.h"

#include "firmware/FirmwareLog.h"
#include "firmware/UpdatePortLocator.h"

#include <QDebug>
#include <QTimer>

UpdatePortWait::UpdatePortWait(QObject *parent)
    : QObject(parent)
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &UpdatePortWait::look);
}

void UpdatePortWait::start(const SerialPortFinder *finder, const QString &overridePath, int firstLookMs, int lastLookMs)
{
    m_finder = finder;
    m_overridePath = overridePath;
    firstLookMs = qMax(0, firstLookMs);
    m_looksLeft = 1 + qMax(0, lastLookMs - firstLookMs) / kLookIntervalMs;
    m_timer->start(firstLookMs);
}

void UpdatePortWait::cancel()
{
    m_timer->stop();
    m_looksLeft = 0;
}

bool UpdatePortWait::lookAgain()
{
    if (m_looksLeft <= 0)
        return false;
    m_timer->start(kLookIntervalMs);
    return true;
}

void UpdatePortWait::look()
{
    const QString port = m_finder ? updateport::locate(*m_finder, m_overridePath) : QString();
    --m_looksLeft;
    if (!port.isEmpty()) {
        emit found(port);
    } else if (m_looksLeft > 0) {
        m_timer->start(kLookIntervalMs);
    } else {
        qCDebug(lcFirmware) << "update port not found" << m_overridePath;
        emit gaveUp();
    }
}
