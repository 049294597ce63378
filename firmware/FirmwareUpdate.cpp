#include "firmware/FirmwareUpdate.h"

#include "firmware/PortAccessHint.h"
#include "firmware/SerialPortFinder.h"
#include "firmware/UpdatePortLocator.h"

#include <QDebug>
#include <QMessageBox>

namespace {
constexpr qint32 kUpdateBaudRate = 115200;
}

FirmwareUpdate::FirmwareUpdate(QObject *parent)
    : QObject(parent)
    , m_ymodem(new YmodemFileTransmit)
    , m_finder(new SystemSerialPortFinder)
{
    connect(m_ymodem, &YmodemFileTransmit::transmitProgress, this, &FirmwareUpdate::transmitProgress);
    connect(m_ymodem, &YmodemFileTransmit::transmitStatus, this, &FirmwareUpdate::transmitStatus);
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
    if (finder)
        m_finder = std::move(finder);
}

void FirmwareUpdate::startUpdate(QString filePath)
{
    const QString portName = updateport::locate(*m_finder, m_portOverride);
    if (portName.isEmpty()) {
        qDebug() << "update port not found" << m_portOverride;
        QMessageBox::information(nullptr, QStringLiteral("info"),
                                 QStringLiteral("The serial port name of the device was not found"), QMessageBox::Ok);
        // The firmware dialog waits for an outcome; without one it would stay busy.
        emit transStatus(false);
        return;
    }
    m_ymodem->setFileName(filePath);
    m_ymodem->setPortName(portName);
    m_ymodem->setPortBaudRate(kUpdateBaudRate);
    if (!m_ymodem->startTransmit()) {
        QString text = QStringLiteral("Failed to open the serial port!");
        const QString hint = portAccessHint(m_ymodem->openError(), portName);
        if (!hint.isEmpty())
            text += QStringLiteral("\n\n") + hint;
        QMessageBox::warning(nullptr, QStringLiteral("info"), text, QMessageBox::Ok);
        // A transfer already running goes on and reports for itself.
        if (m_ymodem->openError() != QSerialPort::NoError)
            emit transStatus(false);
    }
}

void FirmwareUpdate::transmitStatus(YmodemFileTransmit::Status status)
{
    switch (status) {
    case YmodemFileTransmit::StatusEstablish:
    case YmodemFileTransmit::StatusTransmit:
        break;
    case YmodemFileTransmit::StatusFinish:
        emit transStatus(true);
        break;
    default:
        emit transStatus(false);
        break;
    }
}
