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

    // Why an update ended without success, for those who word it themselves.
    enum class Failure { None, PortNotFound, PortNotOpened, TransferFailed };

    // Every update ends with exactly one transStatus. Failures before the
    // transfer starts are shown through the prompt first.
    // The controller is in update mode already: its port is looked for once, now.
    void startUpdate(QString filePath);
    // The update-mode command has just gone out: the port is waited for, up
    // to the last look set below.
    void updateAfterCommand(QString filePath);
    // When the last look for the port comes after the update-mode command.
    void setLastLookMs(int ms) { m_lastLookMs = ms; }
    // The user chose not to update after all: nothing reached the controller.
    void decline();
    // From the start of an update until its transStatus.
    bool isBusy() const { return m_busy; }
    // How the last update ended, the port it went to, and the transfer's own status.
    Failure failure() const { return m_failure; }
    QString port() const { return m_port; }
    YmodemFileTransmit::Status transferStatus() const { return m_status; }

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
    // The file is going to portName.
    void transferStarted(const QString &portName);
    void declined();

private slots:
    void transmitStatus(YmodemFileTransmit::Status status);

private:
    void begin(const QString &filePath, int firstLookMs, int lastLookMs);
    void transmitTo(const QString &portName);
    void portNotFound();
    void end(bool isSuccess, Failure failure = Failure::None);

    YmodemFileTransmit *m_ymodem = nullptr;
    UpdatePortWait m_wait;
    TransferEstimate m_estimate;
    QString m_filePath;
    QString m_port;
    int m_lastLookMs = UpdatePortWait::kLastLookMs;
    bool m_busy = false;
    Failure m_failure = Failure::None;
    YmodemFileTransmit::Status m_status = YmodemFileTransmit::StatusEstablish;
    std::unique_ptr<SerialPortFinder> m_finder;
    QString m_portOverride;
    UserPrompt *m_prompt = nullptr;
};
