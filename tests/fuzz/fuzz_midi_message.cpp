// A message received from the controller, decided as the editor's exchange
// decides it, and taken into the settings model when it is a settings reply.
#include "FuzzQuiet.h"
#include "device/Protocol.h"
#include "device/ReplyParser.h"
#include "model/DataManagement.h"
#include "model/SettingsLayout.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// What may be taken over, worked out from the bytes alone.
bool isWholeSettingsReply(const std::uint8_t *data, std::size_t size)
{
    return size == std::size_t(layout::kImageSize) && data[0] == layout::kSysExStart
        && data[size - 1] == layout::kSysExEnd && data[1] != protocol::ReadSerial;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    silenceDebugLines();
    if (size > 4096)
        return 0;

    // The exchange owns a heap copy of exactly the received length; any read
    // past it is caught by the address checks.
    const int len = int(size);
    std::unique_ptr<char[]> message(new char[size ? size : 1]);
    if (size)
        std::memcpy(message.get(), data, size);

    DataManagement settings;
    settings.initDefaultData();
    const QByteArray before = settings.imageBytes();

    const protocol::Reply reply = protocol::parseReply(size ? message.get() : nullptr, len);
    switch (reply.kind) {
    case protocol::Reply::Nothing:
        if (size != 0)
            std::abort();
        break;
    case protocol::Reply::Serial:
        if (size < 2 || data[1] != protocol::ReadSerial)
            std::abort();
        // At most 13 received bytes make the text (10 for the log line): no
        // more characters than bytes, and valid text comes back byte for byte.
        if (reply.serial.size() > protocol::kSerialSize || reply.serialShort.size() > protocol::kSerialLogBytes
            || reply.serial.contains(QChar(0)))
            std::abort();
        if (size > std::size_t(protocol::kSerialOffset)) {
            QByteArray bytes(reinterpret_cast<const char *>(data) + protocol::kSerialOffset,
                int(std::min<std::size_t>(size - protocol::kSerialOffset, protocol::kSerialSize)));
            bytes.truncate(bytes.indexOf('\0') < 0 ? bytes.size() : bytes.indexOf('\0'));
            const bool valid = QString::fromUtf8(bytes).toUtf8() == bytes;
            if (valid && reply.serial.toUtf8() != bytes)
                std::abort();
        } else if (!reply.serial.isEmpty()) {
            std::abort();
        }
        break;
    case protocol::Reply::Settings: {
        if (!isWholeSettingsReply(data, size))
            std::abort();
        settings.setImage(message.get(), len);
        if (settings.imageBytes() != QByteArray(reinterpret_cast<const char *>(data), len))
            std::abort();
        // Every field the pages read must be readable from any complete image.
        for (int i = 0; i < 48; ++i)
            settings.getPadInfo(i);
        for (int i = 0; i < 12; ++i)
            settings.getBQMInfo(i);
        for (int i = 0; i < 6; ++i)
            settings.getWalkingBeltInfo(i);
        settings.getVerInfo();
        break;
    }
    case protocol::Reply::Malformed:
        if (size == 0 || isWholeSettingsReply(data, size) || (size >= 2 && data[1] == protocol::ReadSerial))
            std::abort();
        if (reply.reason.isEmpty())
            std::abort(); // a refusal must say why
        break;
    }
    if (reply.kind != protocol::Reply::Settings && settings.imageBytes() != before)
        std::abort();
    return 0;
}
