#pragma once

#include <QObject>

// Something that hears the system going to sleep, waking and shutting down.
class PowerEventSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // true just before the system sleeps, false once it has woken.
    void sleepChanging(bool sleeping);
    void shuttingDown();
};
