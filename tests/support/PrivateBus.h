#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A D-Bus daemon of the test's own, standing in for the system or session
// bus; it stops with the object, also when the test fails.
class PrivateBus
{
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    // Empty when dbus-daemon could not be started.
    QString address() const { return m_address; }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};
