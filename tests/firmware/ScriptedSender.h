#pragma once

#include "firmware/Ymodem.h"

#include <QByteArray>
#include <QList>

// The engine with a scripted line: answers are queued by the test, every
// packet written is kept, and the owner's side serves one file from memory.
class ScriptedSender : public Ymodem
{
public:
    explicit ScriptedSender(const QByteArray &file = QByteArray(), const QByteArray &name = "fw.bin");

    // Queues the answer, performs one step, and returns what that step wrote.
    QByteArray step(const QByteArray &answer = QByteArray());
    // Steps until something is written or the limit is reached.
    QByteArray stepUntilWritten(int limit, int *steps = nullptr);

    Stage currentStage() const { return stage; }
    std::uint8_t blockNumber() const { return dataCount; }
    std::uint32_t errors() const { return errorCount; }
    std::uint32_t idleSteps() const { return timeCount; }
    static std::uint16_t crc(const QByteArray &bytes);

    QList<Status> reports; // callback statuses, in order
    QList<QByteArray> packets;
    QByteArray input;
    int reads = 0;
    bool failHeader = false;
    bool failData = false;

protected:
    Code callback(Status status, std::uint8_t *buff, std::uint32_t *len) override;
    std::uint32_t read(std::uint8_t *buff, std::uint32_t len) override;
    std::uint32_t write(std::uint8_t *buff, std::uint32_t len) override;
    QByteArray readAll() override;

private:
    QByteArray m_file;
    QByteArray m_name;
    int m_offset = 0;
};

// Frames as a receiver sees them.
namespace frames {
QByteArray block(std::uint8_t type, std::uint8_t number, const QByteArray &payload);
QByteArray endOfBatch();
QByteArray cancel();
} // namespace frames
