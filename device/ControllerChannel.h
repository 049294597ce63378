#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

// A line to the controller's MIDI ports, as the work that the editor and
// mavuctl share sees it: the editor's exchange and mavuctl's link each are one.
class ControllerChannel : public QObject
{
    Q_OBJECT
public:
    // Waits for one answer: offered each message before received() is
    // emitted, it takes the one it waits for.
    class Waiter
    {
    public:
        virtual bool take(const QByteArray &message) = 0;

    protected:
        ~Waiter() = default;
    };

    using QObject::QObject;

    // The controller's MIDI ports are there.
    virtual bool isPresent() = 0;
    // Opens both ports; open ones stay as they are.
    virtual bool open(QString *error) = 0;
    virtual void close() = 0;
    virtual bool send(const QByteArray &message, QString *error) = 0;

    // The oldest waiter is offered a message first; a waiter stays until removed.
    void addWaiter(Waiter *waiter);
    void removeWaiter(Waiter *waiter);

signals:
    // A complete System Exclusive message from the controller that no waiter
    // took. Always from the event loop, never inside the port layer's
    // hand-over, so that a listener may close the ports.
    void received(const QByteArray &message);

protected:
    // Implementations hand every System Exclusive message here, from inside
    // the port layer's hand-over; it is passed on from the event loop.
    void deliver(const QByteArray &message);

private:
    void offer(const QByteArray &message);

    QList<Waiter *> m_waiters;
};
