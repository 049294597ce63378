#include "device/ReplyParser.h"

#include "device/Protocol.h"
#include "model/ImageCheck.h"

#include <QByteArray>

namespace protocol {

Reply parseReply(const char *data, int len)
{
    Reply reply;
    if (!data || len <= 0)
        return reply;
    if (commandOf(data, len) == ReadSerial) {
        reply.kind = Reply::Serial;
        reply.serial = serialText(data, len);
        reply.serialShort = serialText(data, len, kSerialLogBytes);
        return reply;
    }
    // A stray or cut-off message would otherwise overwrite the leading bytes
    // of the settings.
    if (isCompleteImage(QByteArray::fromRawData(data, len), &reply.reason))
        reply.kind = Reply::Settings;
    else
        reply.kind = Reply::Malformed;
    return reply;
}

} // namespace protocol
