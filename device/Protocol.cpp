#include "device/Protocol.h"

#include <algorithm>

namespace protocol {

QByteArray request(Command command)
{
    const char bytes[kRequestSize] = {char(0xF0), char(command), 0x00, 0x00, 0x00, 0x20, 0x6F, char(0xF7)};
    return QByteArray(bytes, kRequestSize);
}

QByteArray writeSettingsMessage(const QByteArray &image)
{
    QByteArray copy = image;
    if (copy.size() > 1)
        copy[1] = char(WriteSettings);
    return copy;
}

QByteArray serialReply(const QByteArray &serial)
{
    QByteArray message = request(ReadSerial).left(kSerialOffset);
    message += serial.left(kSerialSize).leftJustified(kSerialSize, '\0');
    message += char(0xF7);
    return message;
}

QString serialText(const char *data, int len, int maxBytes)
{
    if (!data || len <= kSerialOffset)
        return QString();
    const int count = std::min(std::min(maxBytes, kSerialSize), len - kSerialOffset);
    const char *begin = data + kSerialOffset;
    const char *end = std::find(begin, begin + count, '\0');
    return QString::fromUtf8(begin, int(end - begin));
}

int commandOf(const char *data, int len)
{
    if (!data || len < 2)
        return -1;
    return int(static_cast<unsigned char>(data[1]));
}

} // namespace protocol
