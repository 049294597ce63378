#include "simulator/YmodemReceiver.h"

#include "firmware/Crc16.h"
#include "firmware/Ymodem.h"

namespace {

// The sender's codes, as bytes on the line.
constexpr char kSoh = Ymodem::CodeSoh;
constexpr char kStx = Ymodem::CodeStx;
constexpr char kEot = Ymodem::CodeEot;
constexpr char kAck = Ymodem::CodeAck;
constexpr char kNak = Ymodem::CodeNak;
constexpr char kCan = Ymodem::CodeCan;
constexpr char kCrcRequest = Ymodem::CodeC;

int payloadSize(char code)
{
    return int(code == kStx ? Ymodem::kLongPayload : Ymodem::kHeaderPayload);
}

} // namespace

QByteArray YmodemReceiver::start()
{
    m_requests = 1;
    return QByteArray(1, kCrcRequest);
}

QByteArray YmodemReceiver::tick()
{
    if (finished())
        return QByteArray();
    if (m_state == State::WaitHeader && !m_started) {
        if (++m_requests > kStartRequests)
            return fail(QStringLiteral("no sender started a transfer"));
        return QByteArray(1, kCrcRequest);
    }
    if (++m_idleTicks < kIdleLimit)
        return QByteArray();
    if (m_state == State::WaitBatchEnd) {
        // The file is complete; a sender that never closes the batch loses nothing.
        m_state = State::Done;
        return QByteArray();
    }
    return fail(QStringLiteral("the sender went silent"));
}

QByteArray YmodemReceiver::fail(const QString &why)
{
    m_state = State::Failed;
    m_error = why;
    return QByteArray(5, kCan);
}

// One whole block from the front of the buffer: empty with *ok true while
// incomplete; *ok false when it is damaged (the buffer is then dropped).
QByteArray YmodemReceiver::takeBlock(bool *ok)
{
    *ok = true;
    const int size = payloadSize(m_buffer.at(0));
    const int total = 3 + size + 2;
    if (m_buffer.size() < total)
        return QByteArray();
    const QByteArray block = m_buffer.left(total);
    m_buffer.remove(0, total);
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(block.constData());
    const std::uint16_t crc = crc16Xmodem(bytes + 3, std::size_t(size));
    const std::uint16_t sent = std::uint16_t((bytes[3 + size] << 8) | bytes[3 + size + 1]);
    if (std::uint8_t(bytes[1] ^ bytes[2]) != 0xFF || crc != sent) {
        *ok = false;
        m_buffer.clear(); // resynchronise on the resend
        return QByteArray();
    }
    return block;
}

QByteArray YmodemReceiver::feed(const QByteArray &bytes)
{
    QByteArray reply;
    if (finished())
        return reply;
    m_buffer += bytes;
    m_idleTicks = 0;
    while (!m_buffer.isEmpty() && !finished()) {
        const char code = m_buffer.at(0);
        if (code == kSoh || code == kStx) {
            bool ok = true;
            const QByteArray block = takeBlock(&ok);
            if (!ok) {
                reply += kNak;
                continue;
            }
            if (block.isEmpty())
                break; // wait for the rest
            m_started = true;
            m_cancelSeen = false;
            const int sequence = quint8(block.at(1));
            const QByteArray payload = block.mid(3, payloadSize(code));
            if (m_state == State::WaitData)
                reply += onData(sequence, payload);
            else if (sequence == 0)
                reply += onHeader(payload);
            else
                reply += kNak;
            continue;
        }
        m_buffer.remove(0, 1);
        if (code == kEot && m_state == State::WaitData) {
            // The first end of file is questioned, as the protocol asks; a
            // sender that did mean it sends it again.
            if (!m_eotSeen) {
                m_eotSeen = true;
                reply += kNak;
            } else {
                finishFile();
                m_state = State::WaitBatchEnd;
                reply += kAck;
                reply += kCrcRequest;
            }
        } else if (code == kCan) {
            if (m_cancelSeen) {
                m_state = State::Failed;
                m_error = QStringLiteral("the sender cancelled");
            }
            m_cancelSeen = true;
        }
        // Anything else is line noise.
    }
    return reply;
}

QByteArray YmodemReceiver::onHeader(const QByteArray &payload)
{
    const int nameEnd = payload.indexOf('\0');
    const QByteArray name = payload.left(nameEnd < 0 ? payload.size() : nameEnd);
    if (name.isEmpty()) {
        m_state = State::Done; // end of the batch
        return QByteArray(1, kAck);
    }
    QByteArray info = payload.mid(nameEnd + 1);
    info.truncate(info.indexOf('\0') < 0 ? info.size() : info.indexOf('\0'));
    bool sized = false;
    const qint64 size = info.split(' ').value(0).toLongLong(&sized);
    m_current = File{QString::fromUtf8(name), QByteArray()};
    m_size = sized ? size : -1;
    m_expected = 1;
    m_eotSeen = false;
    m_state = State::WaitData;
    return QByteArray(1, kAck) + kCrcRequest;
}

QByteArray YmodemReceiver::onData(int sequence, const QByteArray &payload)
{
    if (sequence == (m_expected & 0xFF)) {
        m_current.data += payload;
        ++m_expected;
        m_eotSeen = false;
        return QByteArray(1, kAck);
    }
    if (sequence == ((m_expected - 1) & 0xFF))
        return QByteArray(1, kAck); // our ACK was lost: the sender repeated the block
    return fail(QStringLiteral("block %1 out of order (expected %2)").arg(sequence).arg(m_expected & 0xFF));
}

void YmodemReceiver::finishFile()
{
    if (m_size >= 0 && m_current.data.size() > m_size)
        m_current.data.truncate(int(m_size));
    m_files << m_current;
    m_current = File{};
}
