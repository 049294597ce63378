#pragma once

#include "firmware/YmodemFileTransmit.h"

#include <QObject>
#include <QString>

#include <memory>

class SerialPortFinder;

// Sends a firmware file to the controller in its update mode: finds the update
// port, runs the transfer, and reduces its outcome to one success flag.
class FirmwareUpdate : public QObject
{
    Q_OBJECT
public:
    explicit FirmwareUpdate(QObject *parent = nullptr);
    ~FirmwareUpdate() override;

    // Failures before the transfer starts are shown in message boxes and end
    // the update with transStatus(false); a started transfer ends with exactly
    // one transStatus.
    void startUpdate(QString filePath);

    // A port path to use instead of looking for the USB identity.
    void setPortOverride(const QString &path);
    QString portOverride() const { return m_portOverride; }
    void setPortFinder(std::unique_ptr<SerialPortFinder> finder);
    YmodemFileTransmit *transmitter() const { return m_ymodem; }

signals:
    void transmitProgress(int value);
    void transStatus(bool isSuccess);

private slots:
    void transmitStatus(YmodemFileTransmit::Status status);

private:
    YmodemFileTransmit *m_ymodem = nullptr;
    std::unique_ptr<SerialPortFinder> m_finder;
    QString m_portOverride;
};
