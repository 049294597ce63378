#pragma once

#include "firmware/FirmwareServer.h"
#include "model/DoctorFindings.h"

#include <QObject>
#include <QTimer>

class ServerFetch;

// The update side of the system check: the update port, the udev rules,
// ModemManager and the firmware server (the MIDI side is device/MidiDoctor.h).
namespace doctor {

// The findings about the update port (as findUpdatePort found it, or empty).
QList<Finding> updateFindings(const Inputs &in, const QString &port);

// The controller's update port: the override when it exists, else the tty
// whose USB device (under root/sys) is the controller in update mode.
QString findUpdatePort(const QString &root, const QString &overridePath);

// The firmware server's finding: error is empty when it answered. Offline
// is a note, not a problem: only a firmware update needs the server.
Finding serverFinding(const QString &error);

// Asks the firmware server (HOST[:PORT] or URL, empty for the maker's) for
// its description without blocking: answered() comes once, with an empty
// error when it answered, unless cancelled.
class FirmwareServerProbe : public QObject
{
    Q_OBJECT
public:
    explicit FirmwareServerProbe(QObject *parent = nullptr);
    ~FirmwareServerProbe() override;

    void ask(const QString &server, int limitMs = firmwareserver::kAnswerLimitMs);
    void cancel();

signals:
    void answered(const QString &error);

private:
    void finish(const QString &error);

    ServerFetch *m_fetch;
    QTimer m_limit;
    QString m_error;
};

} // namespace doctor
