#include "ScriptedSender.h"

#include <algorithm>
#include <cstring>

ScriptedSender::ScriptedSender(const QByteArray &file, const QByteArray &name)
    : m_file(file)
    , m_name(name)
{ }

QByteArray ScriptedSender::step(const QByteArray &answer)
{
    input += answer;
    const int before = packets.size();
    transmit();
    QByteArray out;
    for (int i = before; i < packets.size(); ++i)
        out += packets.at(i);
    return out;
}

QByteArray ScriptedSender::stepUntilWritten(int limit, int *steps)
{
    for (int i = 1; i <= limit; ++i) {
        const QByteArray out = step();
        if (!out.isEmpty()) {
            if (steps)
                *steps = i;
            return out;
        }
    }
    if (steps)
        *steps = limit;
    return QByteArray();
}

std::uint16_t ScriptedSender::crc(const QByteArray &bytes)
{
    return crc16(reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::uint32_t(bytes.size()));
}

Ymodem::Code ScriptedSender::callback(Status status, std::uint8_t *buff, std::uint32_t *len)
{
    reports << status;
    if (status == StatusEstablish) {
        if (failHeader)
            return CodeCan;
        const QByteArray header = m_name + '\0' + QByteArray::number(m_file.size()) + '\0';
        std::memcpy(buff, header.constData(), size_t(header.size()));
        *len = 128;
        return CodeAck;
    }
    if (status == StatusTransmit) {
        if (failData)
            return CodeCan;
        const int remaining = m_file.size() - m_offset;
        if (remaining <= 0)
            return CodeEot;
        const int payload = remaining > 128 ? 1024 : 128;
        const int chunk = std::min(payload, remaining);
        std::memcpy(buff, m_file.constData() + m_offset, size_t(chunk));
        m_offset += chunk;
        *len = std::uint32_t(payload);
        return CodeAck;
    }
    return CodeAck;
}

std::uint32_t ScriptedSender::read(std::uint8_t *buff, std::uint32_t len)
{
    ++reads;
    const int n = std::min(int(len), input.size());
    std::memcpy(buff, input.constData(), size_t(n));
    input.remove(0, n);
    return std::uint32_t(n);
}

std::uint32_t ScriptedSender::write(std::uint8_t *buff, std::uint32_t len)
{
    packets << QByteArray(reinterpret_cast<const char *>(buff), int(len));
    return len;
}

QByteArray ScriptedSender::readAll()
{
    const QByteArray all = input;
    input.clear();
    return all;
}

namespace frames {

QByteArray block(std::uint8_t type, std::uint8_t number, const QByteArray &payload)
{
    QByteArray out;
    out += char(type);
    out += char(number);
    out += char(255 - number);
    out += payload;
    const std::uint16_t crc = ScriptedSender::crc(payload);
    out += char(crc >> 8);
    out += char(crc & 0xFF);
    return out;
}

QByteArray endOfBatch()
{
    return block(0x01, 0, QByteArray(128, '\0'));
}

QByteArray cancel()
{
    return QByteArray(5, char(0x18));
}

} // namespace frames
