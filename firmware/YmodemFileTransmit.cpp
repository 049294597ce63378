#include "firmware/YmodemFileTransmit.h"

#include "firmware/FirmwareLog.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cstring>
#include <utility>
#include <termios.h>

YmodemFileTransmit::YmodemFileTransmit(QObject *parent)
    : QObject(parent)
    , Ymodem(499, 5, 999)
{
    qRegisterMetaType<YmodemFileTransmit::Status>("YmodemFileTransmit::Status");
    m_file = new QFile;
    m_readTimer = new QTimer;
    m_writeTimer = new QTimer;
    m_serialPort = new QSerialPort(this); // a child, so that tests can reach the line

    setTimeDivide(499);
    setTimeMax(5);
    setErrorMax(999);

    m_serialPort->setPortName(QStringLiteral("COM1"));
    m_serialPort->setBaudRate(kBaudRate);
    m_serialPort->setDataBits(QSerialPort::Data8);
    m_serialPort->setStopBits(QSerialPort::OneStop);
    m_serialPort->setParity(QSerialPort::NoParity);
    m_serialPort->setFlowControl(QSerialPort::NoFlowControl);

    connect(m_readTimer, &QTimer::timeout, this, &YmodemFileTransmit::readTimeOut);
    connect(m_writeTimer, &QTimer::timeout, this, &YmodemFileTransmit::writeTimeOut);
    connect(m_serialPort, &QSerialPort::errorOccurred, this, &YmodemFileTransmit::portError);
    // An answer is taken at once rather than at the next step: waiting up to a
    // step for each ACK would leave the line idle for a tenth of every block.
    connect(m_serialPort, &QSerialPort::readyRead, this, [this] {
        if (m_readTimer->isActive())
            m_readTimer->start(0);
    });
}

YmodemFileTransmit::~YmodemFileTransmit()
{
    delete m_file;
    delete m_readTimer;
    delete m_writeTimer;
    delete m_serialPort;
}

void YmodemFileTransmit::setFileName(const QString &name)
{
    m_file->setFileName(name);
}

void YmodemFileTransmit::setPortName(const QString &name)
{
    m_serialPort->setPortName(name);
}

void YmodemFileTransmit::setPortBaudRate(qint32 baud)
{
    m_serialPort->setBaudRate(baud);
}

bool YmodemFileTransmit::headerFits(const QByteArray &name, qint64 size)
{
    const qint64 needed = name.size() + 1 + QByteArray::number(size, 10).size() + 1;
    return !name.isEmpty() && needed <= qint64(kHeaderPayload);
}

bool YmodemFileTransmit::isTransmitting() const
{
    return m_serialPort->isOpen() || m_writeTimer->isActive();
}

bool YmodemFileTransmit::startTransmit()
{
    m_openError = QSerialPort::NoError;
    if (isTransmitting())
        return false;
    m_progress = 0;
    m_status = StatusEstablish;
    m_fileSize = 0;
    m_fileCount = 0;
    m_readErrors = 0;
    m_portLost = false;
    m_finishing = false;

    const QFileInfo info(m_file->fileName());
    const QByteArray name = info.fileName().toLocal8Bit();
    if (!headerFits(name, info.exists() ? info.size() : 0)) {
        // Refused before the port is touched: the receiver sees nothing at all.
        qCDebug(lcFirmware) << "file name does not fit the YMODEM header:" << info.fileName();
        finish(StatusError);
        return true;
    }

    if (!m_serialPort->open(QIODevice::ReadWrite)) {
        m_openError = m_serialPort->error();
        qCDebug(lcFirmware) << "open serial port fail:" << m_serialPort->portName() << m_serialPort->errorString();
        return false;
    }
    // Only a terminal whose far end stays open keeps bytes from before: a
    // receiver's answer to an earlier transfer's cancel must not end this one,
    // while its request for a file still counts.
    m_serialPort->waitForReadyRead(0);
    m_askedBefore = m_serialPort->readAll().contains(char(CodeC));
    m_readTimer->start(kStepMs);
    return true;
}

bool YmodemFileTransmit::isRunning() const
{
    return !m_finishing && (m_status == StatusEstablish || m_status == StatusTransmit);
}

void YmodemFileTransmit::readTimeOut()
{
    m_readTimer->stop();
    if (!m_portLost)
        transmit();
    // What came before the line went (the receiver's last ACK, in the same
    // turn as the error) is still its word: all of it is taken in first.
    while (m_portLost && isRunning() && m_serialPort->bytesAvailable() > 0)
        transmit();
    if (m_portLost && isRunning()) {
        // Nothing more can reach the receiver: no cancel, just end the transfer.
        // A receiver that confirmed the file and then left has the whole file.
        const bool delivered = fileConfirmed();
        qCDebug(lcFirmware) << "serial port lost during the transfer:" << m_serialPort->errorString()
                            << (delivered ? "after the receiver confirmed the file" : "");
        abandon();
        m_serialPort->close();
        finish(delivered ? StatusFinish : StatusError);
    }
    if (isRunning())
        m_readTimer->start(kStepMs);
}

void YmodemFileTransmit::writeTimeOut()
{
    m_writeTimer->stop();
    if (m_serialPort->isOpen()) {
        // The last packet leaves the line before the port closes (closing
        // puts the line's old settings back).
        if (!m_portLost) {
            if (m_serialPort->bytesToWrite() > 0)
                m_serialPort->waitForBytesWritten(kDrainLimitMs);
            ::tcdrain(int(m_serialPort->handle()));
        }
        m_serialPort->close();
    }
    m_finishing = false;
    emit transmitStatus(m_status);
}

void YmodemFileTransmit::portError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
        return;
    case QSerialPort::ResourceError:
        m_portLost = true;
        break;
    case QSerialPort::ReadError:
        if (++m_readErrors >= kReadErrorsGone)
            m_portLost = true;
        break;
    case QSerialPort::UnsupportedOperationError:
        // Pseudo-terminals have no modem lines; the transfer does not need them.
        break;
    default:
        qCDebug(lcFirmware) << "serial port error:" << error << m_serialPort->errorString();
        break;
    }
}

void YmodemFileTransmit::finish(Status status)
{
    if (m_finishing)
        return;
    m_finishing = true;
    m_readTimer->stop();
    m_file->close();
    m_status = status;
    // Reported from the event loop, once the port is closed.
    m_writeTimer->start(0);
}

Ymodem::Code YmodemFileTransmit::callback(Ymodem::Status status, std::uint8_t *buff, std::uint32_t *len)
{
    switch (status) {
    case Ymodem::StatusEstablish:
        return buildHeader(buff, len);
    case Ymodem::StatusTransmit:
        return readChunk(buff, len);
    case Ymodem::StatusFinish:
        finish(StatusFinish);
        return CodeAck;
    case Ymodem::StatusAbort:
        finish(StatusAbort);
        return CodeCan;
    case Ymodem::StatusTimeout:
        finish(StatusTimeout);
        return CodeCan;
    default:
        finish(StatusError);
        return CodeCan;
    }
}

Ymodem::Code YmodemFileTransmit::buildHeader(std::uint8_t *buff, std::uint32_t *len)
{
    if (!buff || !len)
        return CodeCan;
    if (!m_file->open(QIODevice::ReadOnly)) {
        qCDebug(lcFirmware) << "open firmware file fail:" << m_file->fileName() << m_file->errorString();
        finish(StatusError);
        return CodeCan;
    }
    const QFileInfo info(*m_file);
    m_fileSize = info.size();
    m_fileCount = 0;
    const QByteArray name = info.fileName().toLocal8Bit();
    const QByteArray size = QByteArray::number(m_fileSize, 10);
    if (!headerFits(name, m_fileSize)) {
        qCDebug(lcFirmware) << "file name does not fit the YMODEM header:" << info.fileName();
        finish(StatusError);
        return CodeCan;
    }
    // The engine zeroed the block, so the two terminating NULs are already there.
    std::memcpy(buff, name.constData(), size_t(name.size()));
    std::memcpy(buff + name.size() + 1, size.constData(), size_t(size.size()));
    *len = kHeaderPayload;
    m_status = StatusEstablish;
    emit transmitStatus(StatusEstablish);
    return CodeAck;
}

Ymodem::Code YmodemFileTransmit::readChunk(std::uint8_t *buff, std::uint32_t *len)
{
    if (!buff || !len)
        return CodeCan;
    // Asked for more after an ACK: what went out before has arrived.
    emit bytesAcknowledged(m_fileCount, m_fileSize);
    if (m_fileCount >= m_fileSize) {
        m_status = StatusTransmit;
        emit transmitStatus(StatusTransmit);
        return CodeEot;
    }
    const qint64 remaining = m_fileSize - m_fileCount;
    const std::uint32_t payload = remaining > qint64(kHeaderPayload) ? kLongPayload : kHeaderPayload;
    // Never more than the header announced, even if the file grew meanwhile.
    const qint64 got = m_file->read(reinterpret_cast<char *>(buff), qMin<qint64>(payload, remaining));
    if (got <= 0) {
        qCDebug(lcFirmware) << "firmware file ended before its announced size:" << m_file->fileName() << m_fileCount
                            << m_fileSize;
        finish(StatusError);
        return CodeCan;
    }
    *len = payload;
    m_fileCount += got;
    m_progress = int(quint64(m_fileCount) * 100u / quint64(m_fileSize));
    m_status = StatusTransmit;
    emit transmitProgress(m_progress);
    emit transmitStatus(StatusTransmit);
    return CodeAck;
}

std::uint32_t YmodemFileTransmit::read(std::uint8_t *buff, std::uint32_t len)
{
    if (std::exchange(m_askedBefore, false) && len > 0) {
        buff[0] = CodeC;
        return 1;
    }
    const qint64 got = m_serialPort->read(reinterpret_cast<char *>(buff), len);
    if (got <= 0)
        return 0; // a read error is taken as nothing received
    m_readErrors = 0;
    return std::uint32_t(got);
}

std::uint32_t YmodemFileTransmit::write(std::uint8_t *buff, std::uint32_t len)
{
    const qint64 put = m_serialPort->write(reinterpret_cast<const char *>(buff), len);
    // On the line now, not at the event loop's next turn: the receiver waits.
    m_serialPort->flush();
    return put < 0 ? 0 : std::uint32_t(put);
}

QByteArray YmodemFileTransmit::readAll()
{
    return m_serialPort->readAll();
}
