#pragma once

#include <QByteArray>

#include <cstdint>

// YMODEM sender (CRC-16, 128- and 1024-byte blocks). Knows no files, ports or
// clocks: the owner supplies the four operations below and calls transmit()
// once per period; every time-out is counted in steps.
class Ymodem
{
public:
    enum Code : std::uint8_t {
        CodeNone = 0x00,
        CodeSoh = 0x01,
        CodeStx = 0x02,
        CodeEot = 0x04,
        CodeAck = 0x06,
        CodeNak = 0x15,
        CodeCan = 0x18,
        CodeUpperA = 0x41,
        CodeC = 0x43,
        CodeLowerA = 0x61,
    };

    enum Stage : std::uint32_t {
        StageNone = 0,
        StageEstablishing = 1,
        StageEstablished = 2,
        StageTransmitting = 3,
        StageFinishing = 4,
        StageFinished = 5,
    };

    enum Status {
        StatusEstablish = 0,
        StatusTransmit = 1,
        StatusFinish = 2,
        StatusAbort = 3,
        StatusTimeout = 4,
        StatusError = 5,
    };

    static constexpr std::uint32_t kHeaderPayload = 128;
    static constexpr std::uint32_t kLongPayload = 1024;
    static constexpr std::uint32_t kPacketOverhead = 5;

    Ymodem(std::uint32_t timeDivide = 499, std::uint32_t timeMax = 5, std::uint32_t errorMax = 999);
    virtual ~Ymodem() = default;
    Ymodem(const Ymodem &) = delete;
    Ymodem &operator=(const Ymodem &) = delete;

    void setTimeDivide(std::uint32_t value);
    void setTimeMax(std::uint32_t value);
    void setErrorMax(std::uint32_t value);

    // One step: takes in at most one answer and writes at most one packet.
    void transmit();

protected:
    // The owner's side. For StatusEstablish/StatusTransmit, buff is the payload
    // area and *len must be set to 128 or 1024; other statuses pass nulls.
    virtual Code callback(Status status, std::uint8_t *buff, std::uint32_t *len) = 0;
    // Never waits; returns the number of bytes read.
    virtual std::uint32_t read(std::uint8_t *buff, std::uint32_t len) = 0;
    virtual std::uint32_t write(std::uint8_t *buff, std::uint32_t len) = 0;
    virtual QByteArray readAll() = 0;

    // For the owner when the line itself is lost: forget the transfer without
    // writing anything, so a later start begins with a fresh handshake.
    void abandon();
    // The receiver has acknowledged the EOT: it holds the whole file, and only
    // the end-of-batch formality is left. A receiver that restarts at once (a
    // loader booting the new firmware, rb exiting) may take its last ACK with it.
    bool fileConfirmed() const { return eotAcked; }

    Code receivePacket();
    static std::uint16_t crc16(const std::uint8_t *buff, std::uint32_t len);

    std::uint32_t timeDivide;
    std::uint32_t timeMax;
    std::uint32_t errorMax;
    std::uint32_t timeCount = 0;
    std::uint32_t errorCount = 0;
    std::uint8_t dataCount = 0;
    std::uint32_t rxState = 0;
    Stage stage = StageNone;
    std::uint8_t rxBuffer[kLongPayload + kPacketOverhead] = {};
    std::uint8_t txBuffer[kLongPayload + kPacketOverhead] = {};
    std::uint32_t rxLength = 0;
    std::uint32_t txLength = 0;
    // The header's ACK has come: the first data block (an empty file's EOT)
    // waits for the receiver's request for data, at most one resend period.
    bool headerAcked = false;
    bool eotAcked = false;

private:
    void transmitEstablishing(Code code);
    void transmitEstablished(Code code);
    void transmitTransmitting(Code code);
    void transmitFinishing(Code code);
    void transmitFinished(Code code);

    void enterStage(Stage next, std::uint8_t count = 0);
    void sendCancel();
    void failOwner();
    void resend();
    void noAnswer(Status giveUpStatus, bool resendOnPeriod);
    void silenceAfterConfirmation();
    void finishBatch();
    bool isRemoteCancel(Code code) const;
    void remoteCancel();
    void rejectedOrIdle(Code code);
    bool countRejection();
    Code sendNextBlock(std::uint8_t fill, std::uint8_t number);
    void sendFirstBlock();
    void sealBlock(std::uint8_t type, std::uint8_t number);
    void sendEot();
};
