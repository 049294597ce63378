#pragma once

#include "firmware/Ymodem.h"

#include <QObject>
#include <QSerialPort>
#include <QString>

class QFile;
class QTimer;

// Sends one file over one serial port with the YMODEM engine, stepping it from
// the event loop. Reports progress per chunk and one final status, always after
// the port has been closed.
class YmodemFileTransmit : public QObject, public Ymodem
{
    Q_OBJECT
public:
    enum Status {
        StatusEstablish = Ymodem::StatusEstablish,
        StatusTransmit = Ymodem::StatusTransmit,
        StatusFinish = Ymodem::StatusFinish,
        StatusAbort = Ymodem::StatusAbort,
        StatusTimeout = Ymodem::StatusTimeout,
        StatusError = Ymodem::StatusError,
    };
    Q_ENUM(Status)

    // The update port's line: 8 data bits, no parity, one stop bit at this rate.
    static constexpr qint32 kBaudRate = 115200;
    static constexpr int kStepMs = 10;
    // Longest wait for the last packet to leave when the transfer ends.
    static constexpr int kDrainLimitMs = 1000;
    // A pseudo-terminal whose other end has gone keeps reporting ReadError
    // instead of ResourceError; this many in a row without data means gone.
    static constexpr int kReadErrorsGone = 3;

    explicit YmodemFileTransmit(QObject *parent = nullptr);
    ~YmodemFileTransmit() override;

    void setFileName(const QString &name);
    void setPortName(const QString &name);
    void setPortBaudRate(qint32 baud);

    // Opens the port and starts stepping. False (and no signal) when the port
    // cannot be opened or a transfer is running.
    bool startTransmit();
    // From a successful startTransmit() until the final status.
    bool isTransmitting() const;
    // Why the last startTransmit() could not open the port; NoError when it
    // was refused because a transfer is running.
    QSerialPort::SerialPortError openError() const { return m_openError; }

    // The header block holds name, NUL, decimal size and NUL in 128 bytes.
    static bool headerFits(const QByteArray &name, qint64 size);

signals:
    void transmitProgress(int progress);
    // The receiver has acknowledged done bytes of the file's total: 0 when the
    // first data block goes out, then once per data block, total at the end.
    void bytesAcknowledged(qint64 done, qint64 total);
    void transmitStatus(YmodemFileTransmit::Status status);

private slots:
    void readTimeOut();
    void writeTimeOut();
    void portError(QSerialPort::SerialPortError error);

protected:
    Code callback(Ymodem::Status status, std::uint8_t *buff, std::uint32_t *len) override;
    std::uint32_t read(std::uint8_t *buff, std::uint32_t len) override;
    std::uint32_t write(std::uint8_t *buff, std::uint32_t len) override;
    QByteArray readAll() override;

private:
    Code buildHeader(std::uint8_t *buff, std::uint32_t *len);
    Code readChunk(std::uint8_t *buff, std::uint32_t *len);
    void finish(Status status);
    bool isRunning() const;

    QFile *m_file = nullptr;
    QTimer *m_readTimer = nullptr;
    QTimer *m_writeTimer = nullptr;
    QSerialPort *m_serialPort = nullptr;
    int m_progress = 0;
    Status m_status = StatusEstablish;
    qint64 m_fileSize = 0;
    qint64 m_fileCount = 0;
    int m_readErrors = 0;
    bool m_portLost = false;
    QSerialPort::SerialPortError m_openError = QSerialPort::NoError;
    bool m_finishing = false;
    bool m_askedBefore = false; // the receiver's "C" came before the port was opened
};
