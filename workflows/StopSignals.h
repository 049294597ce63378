#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGINT as a Qt signal on the event loop, so that a program ends
// at a point of its choosing rather than wherever the signal lands.
class StopSignals : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void received(int signalNumber);
};

// Raised by hand: the signals of a test, in the test's own process.
class InProcessStopSignals : public StopSignals
{
    Q_OBJECT
public:
    using StopSignals::StopSignals;
    void raise(int signalNumber) { emit received(signalNumber); }
};

// The process's own SIGTERM and SIGINT, from construction until destruction
// (then their default actions again). The handler only writes the number
// into a pipe; its read end is watched by the event loop. One at a time.
class ProcessStopSignals : public StopSignals
{
    Q_OBJECT
public:
    explicit ProcessStopSignals(QObject *parent = nullptr);
    ~ProcessStopSignals() override;

private:
    void drain();

    QSocketNotifier *m_notifier = nullptr;
};
