// The YMODEM sender stepped against a receiver that answers with arbitrary
// bytes. Input: two setup bytes (file size, owner failure), then chunks, each
// a control byte (idle steps before it arrives, chunk length) and its bytes.
#include "FuzzQuiet.h"
#include "firmware/Crc16.h"
#include "firmware/Ymodem.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Short limits, so that giving up takes a handful of steps.
constexpr std::uint32_t kTimeDivide = 3; // resend every 4 idle steps
constexpr std::uint32_t kTimeMax = 2; // give up after 12
constexpr std::uint32_t kErrorMax = 4;
constexpr std::uint32_t kGiveUpSteps = (kTimeMax + 1) * (kTimeDivide + 1);

class Harness : public Ymodem
{
public:
    Harness(std::uint32_t fileSize, int failAtBlock)
        : Ymodem(kTimeDivide, kTimeMax, kErrorMax)
        , m_file(fileSize)
        , m_failAtBlock(failAtBlock)
    {
        for (std::uint32_t i = 0; i < fileSize; ++i)
            m_file[i] = std::uint8_t(i * 7 + 3);
    }

    void arrive(const std::uint8_t *bytes, std::size_t count) { m_line.insert(m_line.end(), bytes, bytes + count); }
    std::size_t waiting() const { return m_line.size() - m_readPos; }
    bool ended() const { return m_final >= 0 || m_ownerFailed; }
    void step()
    {
        transmit();
        check(rxState <= 2 && txLength <= sizeof(txBuffer));
        check(rxState == 0 || rxLength < (rxState == 1 ? 133u : 1029u));
        if (ended())
            check(stage == StageNone);
    }

protected:
    Code callback(Status status, std::uint8_t *buff, std::uint32_t *len) override
    {
        check(m_final < 0); // nothing after the end
        switch (status) {
        case StatusEstablish: {
            check(buff == txBuffer + 3 && len == &txLength);
            if (m_failAtBlock == 0)
                return ownerFails();
            const QByteArray header = QByteArray("fw.bin") + '\0' + QByteArray::number(quint64(m_file.size()));
            std::memcpy(buff, header.constData(), size_t(header.size()));
            *len = kHeaderPayload;
            m_sent = 0;
            m_eotGiven = false;
            return CodeAck;
        }
        case StatusTransmit: {
            check(buff == txBuffer + 3 && len == &txLength);
            check(!m_eotGiven);
            if (m_sent >= m_file.size()) {
                m_eotGiven = true;
                return CodeEot;
            }
            if (m_failAtBlock > 0 && ++m_blocks == m_failAtBlock)
                return ownerFails();
            const std::uint32_t left = std::uint32_t(m_file.size()) - m_sent;
            const std::uint32_t chunk = left > kHeaderPayload ? std::min(left, kLongPayload) : left;
            std::memcpy(buff, m_file.data() + m_sent, chunk);
            m_sent += chunk;
            *len = chunk > kHeaderPayload ? kLongPayload : kHeaderPayload;
            return CodeAck;
        }
        case StatusFinish:
            // Finished only once the whole file went out and its end was told.
            check(m_eotGiven && m_sent == m_file.size());
            [[fallthrough]];
        case StatusAbort:
        case StatusTimeout:
        case StatusError:
            check(!buff && !len);
            m_final = status;
            return CodeNone;
        }
        std::abort();
    }

    std::uint32_t read(std::uint8_t *buff, std::uint32_t len) override
    {
        // Only into the receive buffer, and never past its end.
        check(buff >= rxBuffer && buff + len <= rxBuffer + sizeof(rxBuffer));
        const std::uint32_t count = std::uint32_t(std::min<std::size_t>(len, waiting()));
        if (count == 0)
            return 0;
        std::memcpy(buff, m_line.data() + m_readPos, count);
        m_readPos += count;
        return count;
    }

    std::uint32_t write(std::uint8_t *buff, std::uint32_t len) override
    {
        check(buff == txBuffer && len <= sizeof(txBuffer));
        checkPacket(buff, len);
        return len;
    }

    QByteArray readAll() override
    {
        const QByteArray all(reinterpret_cast<const char *>(m_line.data() + m_readPos), int(waiting()));
        m_readPos = m_line.size();
        return all;
    }

private:
    Code ownerFails()
    {
        m_ownerFailed = true;
        return CodeCan;
    }

    // Every packet on the wire is one of the protocol's own, with a right CRC.
    static void checkPacket(const std::uint8_t *p, std::uint32_t len)
    {
        if (len == 1) {
            check(p[0] == CodeEot);
        } else if (len == 5) {
            for (std::uint32_t i = 0; i < 5; ++i)
                check(p[i] == CodeCan);
        } else {
            check(len == 133 || len == 1029);
            check(p[0] == (len == 133 ? CodeSoh : CodeStx));
            check(std::uint8_t(p[1] ^ p[2]) == 0xFF);
            const std::uint32_t payload = len - kPacketOverhead;
            const std::uint16_t crc = crc16Xmodem(p + 3, payload);
            check(p[3 + payload] == std::uint8_t(crc >> 8) && p[4 + payload] == std::uint8_t(crc & 0xFF));
        }
    }

    std::vector<std::uint8_t> m_file;
    int m_failAtBlock;
    std::vector<std::uint8_t> m_line;
    std::size_t m_readPos = 0;
    std::uint32_t m_sent = 0;
    int m_blocks = 0;
    bool m_eotGiven = false;
    bool m_ownerFailed = false;
    int m_final = -1;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    silenceDebugLines();
    if (size < 2 || size > 8192)
        return 0;

    // Up to a few blocks, so that the block sizes and the last short chunk vary.
    const std::uint32_t fileSize = std::uint32_t(data[0]) * 13;
    // 0 fails the header, 1..3 fail that data block, anything else never fails.
    const int failAtBlock = data[1] < 16 ? data[1] % 4 : -1;
    Harness engine(fileSize, failAtBlock);

    std::size_t pos = 2;
    std::size_t steps = 0;
    engine.step(); // leaves StageNone
    while (pos < size && !engine.ended()) {
        const std::uint8_t control = data[pos++];
        for (int idle = control >> 5; idle > 0 && !engine.ended(); --idle, ++steps)
            engine.step();
        const std::size_t count = std::min<std::size_t>((control & 0x1F) + 1, size - pos);
        engine.arrive(data + pos, count);
        pos += count;
        if (!engine.ended()) {
            engine.step();
            ++steps;
        }
    }
    // The line falls silent: what is waiting is taken in (at least one byte a
    // step), then the engine must end within its give-up limit.
    const std::size_t bound = engine.waiting() + 2 * kGiveUpSteps + 2;
    for (std::size_t i = 0; i < bound && !engine.ended(); ++i)
        engine.step();
    check(engine.ended());
    return 0;
}
