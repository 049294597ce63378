#pragma once

#include <QDateTime>

// Where the run log takes its time from; tests put a clock of their own in.
class LogClock
{
public:
    virtual ~LogClock() = default;
    virtual QDateTime now() const = 0; // local time
};

class SystemLogClock : public LogClock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
