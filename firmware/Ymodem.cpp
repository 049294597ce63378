#include "firmware/Ymodem.h"

#include "firmware/Crc16.h"
#include "firmware/FirmwareLog.h"

#include <QDebug>

#include <cstring>

namespace {

constexpr std::uint32_t kShortPacket = Ymodem::kHeaderPayload + Ymodem::kPacketOverhead; // 133
constexpr std::uint32_t kLongPacket = Ymodem::kLongPayload + Ymodem::kPacketOverhead; // 1029
constexpr std::uint32_t kCancelLength = 5;
constexpr std::uint8_t kFirstFill = 0x00;
constexpr std::uint8_t kLaterFill = 0x1A;

} // namespace

Ymodem::Ymodem(std::uint32_t timeDivide, std::uint32_t timeMax, std::uint32_t errorMax)
    : timeDivide(timeDivide)
    , timeMax(timeMax)
    , errorMax(errorMax)
{ }

void Ymodem::setTimeDivide(std::uint32_t value)
{
    timeDivide = value;
}

void Ymodem::setTimeMax(std::uint32_t value)
{
    timeMax = value;
}

void Ymodem::setErrorMax(std::uint32_t value)
{
    errorMax = value;
}

std::uint16_t Ymodem::crc16(const std::uint8_t *buff, std::uint32_t len)
{
    return crc16Xmodem(buff, len);
}

void Ymodem::abandon()
{
    enterStage(StageNone);
}

Ymodem::Code Ymodem::receivePacket()
{
    std::uint32_t whole = 0;
    Code blockCode = CodeNone;
    switch (rxState) {
    case 0: {
        if (read(rxBuffer, 1) != 1)
            return CodeNone;
        const std::uint8_t first = rxBuffer[0];
        if (first != CodeSoh && first != CodeStx)
            return Code(first);
        whole = first == CodeSoh ? kShortPacket : kLongPacket;
        const std::uint32_t got = read(rxBuffer + 1, whole - 1);
        if (got >= whole - 1)
            return Code(first);
        rxState = first == CodeSoh ? 1 : 2;
        rxLength = 1 + got;
        return CodeNone;
    }
    case 1:
        whole = kShortPacket;
        blockCode = CodeSoh;
        break;
    case 2:
        whole = kLongPacket;
        blockCode = CodeStx;
        break;
    default:
        rxState = 0;
        return CodeNone;
    }
    if (rxLength >= whole) { // cannot happen unless the fields were tampered with
        rxState = 0;
        return CodeNone;
    }
    const std::uint32_t wanted = whole - rxLength;
    const std::uint32_t got = read(rxBuffer + rxLength, wanted);
    if (got >= wanted) {
        rxState = 0;
        return blockCode;
    }
    rxLength += got;
    return CodeNone;
}

void Ymodem::enterStage(Stage next, std::uint8_t count)
{
    timeCount = 0;
    errorCount = 0;
    dataCount = count;
    rxState = 0;
    headerAcked = false;
    eotAcked = false;
    stage = next;
}

void Ymodem::sendCancel()
{
    enterStage(StageNone);
    std::memset(txBuffer, CodeCan, kCancelLength);
    txLength = kCancelLength;
    write(txBuffer, txLength);
}

void Ymodem::failOwner()
{
    // The owner could not deliver and reports its own failure: cancel quietly.
    sendCancel();
}

void Ymodem::resend()
{
    write(txBuffer, txLength);
}

void Ymodem::noAnswer(Status giveUpStatus, bool resendOnPeriod)
{
    ++timeCount;
    const std::uint32_t period = timeDivide + 1;
    if (timeCount / period > timeMax) {
        sendCancel();
        callback(giveUpStatus, nullptr, nullptr);
        return;
    }
    if (resendOnPeriod && timeCount % period == 0)
        resend();
}

// The file is confirmed; a receiver that asks for no next file within a
// resend period has left the batch. Nothing is resent or cancelled: it would
// reach a receiver that restarted, or nobody.
void Ymodem::silenceAfterConfirmation()
{
    if (++timeCount <= timeDivide)
        return;
    qCDebug(lcFirmware) << "the receiver confirmed the file but did not ask for another";
    finishBatch();
}

void Ymodem::finishBatch()
{
    enterStage(StageNone);
    callback(StatusFinish, nullptr, nullptr);
}

bool Ymodem::isRemoteCancel(Code code) const
{
    return code == CodeCan || code == CodeUpperA || code == CodeLowerA;
}

void Ymodem::remoteCancel()
{
    enterStage(StageNone);
    callback(StatusAbort, nullptr, nullptr);
}

// Counts one rejection; when it is one too many, cancels and reports the error.
bool Ymodem::countRejection()
{
    ++errorCount;
    if (errorCount <= errorMax)
        return true;
    sendCancel();
    callback(StatusError, nullptr, nullptr);
    return false;
}

// Frames the payload in txBuffer (txLength bytes from offset 3) and writes it.
void Ymodem::sealBlock(std::uint8_t type, std::uint8_t number)
{
    const std::uint16_t crc = crc16(txBuffer + 3, txLength);
    txBuffer[0] = type;
    txBuffer[1] = number;
    txBuffer[2] = std::uint8_t(~number);
    txBuffer[3 + txLength] = std::uint8_t(crc >> 8);
    txBuffer[4 + txLength] = std::uint8_t(crc & 0xFF);
    txLength += kPacketOverhead;
    write(txBuffer, txLength);
}

// Asks the owner for the next payload, pre-filled with fill, and sends it as
// block number. Returns the owner's answer; CodeEot is left to the caller.
Ymodem::Code Ymodem::sendNextBlock(std::uint8_t fill, std::uint8_t number)
{
    std::memset(txBuffer + 3, fill, kLongPayload);
    const Code result = callback(StatusTransmit, txBuffer + 3, &txLength);
    if (result == CodeAck) {
        // The payload length picks the block type; only the two sizes exist.
        txLength = txLength > kHeaderPayload ? kLongPayload : kHeaderPayload;
        enterStage(StageTransmitting, number);
        sealBlock(txLength > kHeaderPayload ? CodeStx : CodeSoh, number);
    } else if (result != CodeEot) {
        failOwner();
    }
    return result;
}

void Ymodem::sendEot()
{
    enterStage(StageFinishing);
    txBuffer[0] = CodeEot;
    txLength = 1;
    write(txBuffer, txLength);
}

void Ymodem::transmit()
{
    if (stage == StageNone) {
        enterStage(StageEstablishing);
        return;
    }
    const Code code = receivePacket();
    switch (stage) {
    case StageEstablishing:
        transmitEstablishing(code);
        break;
    case StageEstablished:
        transmitEstablished(code);
        break;
    case StageTransmitting:
        transmitTransmitting(code);
        break;
    case StageFinishing:
        transmitFinishing(code);
        break;
    default:
        transmitFinished(code);
        break;
    }
}

// What every stage after the header does with a NAK, a remote cancel or
// anything it does not expect.
void Ymodem::rejectedOrIdle(Code code)
{
    if (code == CodeNak) {
        if (countRejection())
            resend();
    } else if (isRemoteCancel(code)) {
        remoteCancel();
    } else {
        noAnswer(StatusError, true);
    }
}

void Ymodem::transmitEstablishing(Code code)
{
    if (code == CodeC) {
        std::memset(txBuffer + 3, 0, kHeaderPayload);
        if (callback(StatusEstablish, txBuffer + 3, &txLength) != CodeAck) {
            failOwner();
            return;
        }
        txLength = kHeaderPayload; // block 0 is always a short block
        enterStage(StageEstablished);
        sealBlock(CodeSoh, 0x00);
    } else if (isRemoteCancel(code)) {
        remoteCancel();
    } else {
        noAnswer(StatusTimeout, false);
    }
}

// The header is acknowledged and the receiver asks for data (or has been
// given one resend period to ask).
void Ymodem::sendFirstBlock()
{
    const Code result = sendNextBlock(kFirstFill, 0x01);
    if (result == CodeAck)
        qCDebug(lcFirmware) << "transmitStageEstablished CodeAck";
    else if (result == CodeEot)
        sendEot(); // an empty file: the batch closes as after any other
}

void Ymodem::transmitEstablished(Code code)
{
    if (code == CodeAck && !headerAcked) {
        // The data goes out on the receiver's "C" that follows: rb, for one,
        // clears its input as it sends that "C", and would lose the start of a
        // block already on its way.
        headerAcked = true;
        timeCount = 0;
    } else if (code == CodeC && headerAcked) {
        sendFirstBlock();
    } else if (headerAcked && code != CodeNak && !isRemoteCancel(code)) {
        // A receiver that asks for nothing after its ACK gets the data anyway.
        if (++timeCount >= timeDivide + 1)
            sendFirstBlock();
    } else if (code == CodeC) {
        if (!countRejection())
            return;
        const QByteArray drained = readAll();
        qCDebug(lcFirmware) << "readAll:" << drained.size();
    } else {
        rejectedOrIdle(code);
    }
}

void Ymodem::transmitTransmitting(Code code)
{
    if (code == CodeAck) {
        if (sendNextBlock(kLaterFill, std::uint8_t(dataCount + 1)) == CodeEot)
            sendEot();
    } else {
        rejectedOrIdle(code);
    }
}

void Ymodem::transmitFinishing(Code code)
{
    if (code == CodeNak) {
        // Rejections of the EOT accumulate, so a receiver that never accepts
        // it cannot keep the transfer going for ever.
        if (!countRejection())
            return;
        const std::uint32_t rejected = errorCount;
        sendEot();
        errorCount = rejected;
    } else if (code == CodeC) {
        const bool confirmed = eotAcked;
        std::memset(txBuffer + 3, 0, kHeaderPayload);
        txLength = kHeaderPayload;
        enterStage(StageFinished);
        eotAcked = confirmed;
        sealBlock(CodeSoh, 0x00);
    } else if (code == CodeAck) {
        eotAcked = true;
        timeCount = 0;
    } else if (isRemoteCancel(code)) {
        remoteCancel();
    } else if (eotAcked) {
        // The next file's request is due; without it the batch is over anyway.
        silenceAfterConfirmation();
    } else {
        noAnswer(StatusError, true);
    }
}

// The end-of-batch block's ACK ends the batch. A "C" asks for the block
// again, like a NAK: rb clears its input just after asking, so under load
// the block can reach it cut short. A receiver that confirmed the file and
// then goes quiet has left with it (rb and a loader that restarts often take
// their ACK with them): the batch ends after two fifths of a resend period
// (2 s). rb asks again only after a second of silence (its waits count whole
// seconds), so a shorter wait ended the batch just before rb asked again.
// Without that confirmation, its ACK here is the only word that it has the file.
void Ymodem::transmitFinished(Code code)
{
    if (code == CodeAck)
        finishBatch();
    else if (code == CodeC || code == CodeNak)
        rejectedOrIdle(CodeNak);
    else if (eotAcked && !isRemoteCancel(code)) {
        if (++timeCount > timeDivide * 2 / 5 + 1)
            finishBatch();
    } else
        rejectedOrIdle(code);
}
