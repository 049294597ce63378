#pragma once

#include <QByteArray>
#include <QString>

// The controller's System Exclusive messages. One definition serves the
// editor, mavuctl and the simulator.
namespace protocol {

enum Command : unsigned char {
    WriteSettings = 0x01,
    ReadSettings = 0x02,
    ReadSerial = 0x04,
    EnterUpdate = 0x05,
};

constexpr int kRequestSize = 8;
constexpr int kSerialOffset = 7;
constexpr int kSerialSize = 13;

// F0 <command> 00 00 00 20 6F F7
QByteArray request(Command command);

// A copy of the image to send, with byte 1 set to 01.
QByteArray writeSettingsMessage(const QByteArray &image);

// The serial-number reply the controller gives: F0 04 00 00 00 20 6F, 13 bytes of text, F7.
QByteArray serialReply(const QByteArray &serial);

// Serial-number text from bytes 7 to 19 (as many as there are), up to the first zero byte.
QString serialText(const char *data, int len, int maxBytes = kSerialSize);

// The command byte of a received message, or -1 when it has none.
int commandOf(const char *data, int len);

} // namespace protocol
