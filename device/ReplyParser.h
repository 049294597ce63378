#pragma once

#include <QString>

// What a message received from the controller is, decided without the window:
// byte 1 tells a serial-number reply from a settings reply, and a settings
// reply counts only when it is a complete image.
namespace protocol {

constexpr int kSerialLogBytes = 10;

struct Reply {
    enum Kind { Nothing, Serial, Settings, Malformed };
    Kind kind = Nothing;
    QString serial; // Serial: the text of bytes 7 to 19
    QString serialShort; // Serial: the text of the first 10 of them, for the log
    QString reason; // Malformed: why the settings reply was refused
};

// Settings means data[0..len) is a complete image that may be taken over as is.
Reply parseReply(const char *data, int len);

} // namespace protocol
