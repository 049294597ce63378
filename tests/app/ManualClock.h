#pragma once

#include "app/LogClock.h"

#include <QMutex>
#include <QMutexLocker>

// A clock the test sets by hand.
class ManualClock : public LogClock
{
public:
    explicit ManualClock(const QDateTime &time)
        : m_time(time)
    { }

    QDateTime now() const override
    {
        QMutexLocker locker(&m_mutex);
        return m_time;
    }

    void set(const QDateTime &time)
    {
        QMutexLocker locker(&m_mutex);
        m_time = time;
    }

private:
    mutable QMutex m_mutex;
    QDateTime m_time;
};
