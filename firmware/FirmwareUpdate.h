#pragma once

#include "firmware/TransferEstimate.h"
#include "firmware/UpdatePortWait.h"
#include "firmware/YmodemFileTransmit.h"

#include <QObject>
#include <QString>

#include <memory>

class SerialPortFinder;
class UserPrompt;

// Sends a firmware file to the controller in its update mode: finds the update
// port, runs the transfer, and reduces its outcome to one success flag.
class FirmwareUpdate : public QObject
{
    Q_OBJECT
public:
    explicit FirmwareUpdate(QObject *parent = nullptr);
    ~FirmwareUpdate() override;

    // Every update ends with exactly one transStatus. Failures before the
    // transfer starts are shown through the prompt first.
    // The controller is in update mode already: its port is looked for once, now.
    void startUpdate(QString filePath);
    // The update-mode command has just gone out: the port is waited for.
    void updateAfterCommand(QString filePath);
    // The user chose not to update after all: nothing reached the controller.
    void decline();
    // From the start of an update until its transStatus.
    bool isBusy() const { return m_busy; }

    // Who is told of failures (not owned; none: they are only reported by transStatus).
    void setPrompt(UserPrompt *prompt) { m_prompt = prompt; }
    // A port path to use instead of looking for the USB identity.
    void setPortOverride(const QString &path);
    QString portOverride() const { return m_portOverride; }
    void setPortFinder(std::unique_ptr<SerialPortFinder> finder);
    YmodemFileTransmit *transmitter() const { return m_ymodem; }
    const SerialPortFinder &portFinder() const { return *m_finder; }

signals:
    void transmitProgress(int value);
    // Bytes acknowledged, rate and time left, for the user.
    void transferDetail(QString text);
    void transStatus(bool isSuccess);
    // An update has begun: the controller's update port and its request for
    // the file are awaited.
    void waitingForController();
    void declined();

private slots:
    void transmitStatus(YmodemFileTransmit::Status status);

private:
    void begin(const QString &filePath, int firstLookMs, int lastLookMs);
    void transmitTo(const QString &portName);
    void portNotFound();
    void end(bool isSuccess);

    YmodemFileTransmit *m_ymodem = nullptr;
    UpdatePortWait m_wait;
    TransferEstimate m_estimate;
    QString m_filePath;
    bool m_busy = false;
    std::unique_ptr<SerialPortFinder> m_finder;
    QString m_portOverride;
    UserPrompt *m_prompt = nullptr;
};
