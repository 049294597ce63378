#include "firmware/FirmwareUpdate.h"

#include "firmware/PortAccessHint.h"
#include "firmware/SerialPortFinder.h"
#include "model/UserPrompt.h"

FirmwareUpdate::FirmwareUpdate(QObject *parent)
    : QObject(parent)
    , m_ymodem(new YmodemFileTransmit)
    , m_finder(new SystemSerialPortFinder)
{
    connect(m_ymodem, &YmodemFileTransmit::transmitProgress, this, &FirmwareUpdate::transmitProgress);
    connect(m_ymodem, &YmodemFileTransmit::transmitStatus, this, &FirmwareUpdate::transmitStatus);
    connect(m_ymodem, &YmodemFileTransmit::bytesAcknowledged, this, [this](qint64 done, qint64 total) {
        m_estimate.add(done, total);
        emit transferDetail(m_estimate.text());
    });
    connect(&m_wait, &UpdatePortWait::found, this, &FirmwareUpdate::transmitTo);
    connect(&m_wait, &UpdatePortWait::gaveUp, this, &FirmwareUpdate::portNotFound);
}

FirmwareUpdate::~FirmwareUpdate()
{
    delete m_ymodem;
}

void FirmwareUpdate::setPortOverride(const QString &path)
{
    m_portOverride = path;
}

void FirmwareUpdate::setPortFinder(std::unique_ptr<SerialPortFinder> finder)
{
    if (finder) {
        m_wait.cancel();
        m_finder = std::move(finder);
    }
}

void FirmwareUpdate::startUpdate(QString filePath)
{
    begin(filePath, 0, 0);
}

void FirmwareUpdate::updateAfterCommand(QString filePath)
{
    begin(filePath, UpdatePortWait::kFirstLookMs, m_lastLookMs);
}

void FirmwareUpdate::decline()
{
    emit declined();
}

void FirmwareUpdate::begin(const QString &filePath, int firstLookMs, int lastLookMs)
{
    m_filePath = filePath;
    m_port.clear();
    m_busy = true;
    m_failure = Failure::None;
    m_wait.start(m_finder.get(), m_portOverride, firstLookMs, lastLookMs);
    emit waitingForController();
}

void FirmwareUpdate::portNotFound()
{
    if (m_prompt)
        m_prompt->information(
            QStringLiteral("info"), QStringLiteral("The serial port name of the device was not found"));
    end(false, Failure::PortNotFound);
}

void FirmwareUpdate::transmitTo(const QString &portName)
{
    // A running transfer keeps its file and port.
    if (!m_ymodem->isTransmitting()) {
        m_ymodem->setFileName(m_filePath);
        m_ymodem->setPortName(portName);
        m_port = portName;
    }
    if (m_ymodem->startTransmit()) {
        emit transferStarted(portName);
        return;
    }
    if (m_ymodem->openError() != QSerialPort::NoError && m_wait.lookAgain())
        return;
    QString text = QStringLiteral("Failed to open the serial port!");
    const QString hint = portAccessHint(m_ymodem->openError(), portName);
    if (!hint.isEmpty())
        text += QStringLiteral("\n\n") + hint;
    if (m_prompt)
        m_prompt->warning(QStringLiteral("info"), text);
    // A transfer already running goes on and reports for itself.
    if (m_ymodem->openError() != QSerialPort::NoError)
        end(false, Failure::PortNotOpened);
}

void FirmwareUpdate::end(bool isSuccess, Failure failure)
{
    m_busy = false;
    m_failure = failure;
    emit transStatus(isSuccess);
}

void FirmwareUpdate::transmitStatus(YmodemFileTransmit::Status status)
{
    m_status = status;
    switch (status) {
    case YmodemFileTransmit::StatusEstablish:
    case YmodemFileTransmit::StatusTransmit:
        break;
    case YmodemFileTransmit::StatusFinish:
        end(true);
        break;
    default:
        end(false, Failure::TransferFailed);
        break;
    }
}
