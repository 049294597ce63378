#include "model/ControlHit.h"

#include "model/SettingsLayout.h"
#include "model/SettingsText.h"

using namespace layout;

namespace controlhit {

namespace {

constexpr int kNoteOn = 0x90;
constexpr int kControlChange = 0xB0;
constexpr int kProgramChange = 0xC0;
constexpr int kChannelPressure = 0xD0;
constexpr int kPitchBend = 0xE0;
// What a played control sends besides its number.
constexpr int kVelocity = 100;
constexpr int kPressed = 127;
constexpr int kMiddle = 64;

struct Record {
    int status = 0; // the message kind the control's type sends; 0 for none
    int data = 0;
    int channel = -1; // the status byte's low nibble; -1 when the stored channel is no channel
    bool toggle = false;
};

int byteAt(const QByteArray &image, int offset)
{
    return quint8(image.at(offset));
}

Record record(const QByteArray &image, Control control)
{
    static const int padStatus[] = {kNoteOn, kControlChange, kProgramChange};
    static const int knobStatus[] = {kControlChange, kChannelPressure, kPitchBend};
    static const int buttonStatus[] = {kControlChange}; // machine control is System Exclusive
    const int offset = control.recordOffset();
    const int *status = nullptr;
    int types = 0;
    switch (control.kind) {
    case Kind::Pad:
        status = padStatus;
        types = 3;
        break;
    case Kind::Knob:
        status = knobStatus;
        types = 3;
        break;
    case Kind::Button:
        status = buttonStatus;
        types = 1;
        break;
    case Kind::Global:
    case Kind::None:
        return {};
    }
    Record r;
    const int type = byteAt(image, offset);
    r.status = type < types ? status[type] : 0;
    r.data = byteAt(image, offset + 1);
    // Channels are stored as shown, 1..16.
    const int channel = byteAt(image, offset + 2);
    r.channel = channel >= 1 && channel <= 16 ? channel - 1 : -1;
    // Knobs keep their range where pads and buttons keep their mode.
    r.toggle = control.kind != Kind::Knob && byteAt(image, offset + 3) == 1;
    return r;
}

bool numbered(int status)
{
    return status == kNoteOn || status == kControlChange || status == kProgramChange;
}

int messageSize(int status)
{
    return status == kProgramChange || status == kChannelPressure ? 2 : 3;
}

bool shownIn(Control control, ShownBanks shown)
{
    if (control.kind == Kind::Pad)
        return control.bank() == shown.pads;
    if (control.kind == Kind::Knob)
        return control.bank() == shown.knobs;
    return true; // the transport buttons have no banks
}

} // namespace

Control fromMessage(const QByteArray &image, const QByteArray &message, ShownBanks shown)
{
    if (image.size() < kImageSize || message.isEmpty())
        return {};
    const int status = quint8(message.at(0)) & 0xF0;
    const int channel = quint8(message.at(0)) & 0x0F;
    if (status < 0x80 || status == 0xF0 || message.size() < messageSize(status))
        return {};
    const int value = quint8(message.at(messageSize(status) - 1));
    if (status == kNoteOn && value == 0)
        return {};
    Control first;
    for (Kind kind : {Kind::Pad, Kind::Knob, Kind::Button}) {
        for (int i = 0; i < ControlId::count(kind); ++i) {
            const Control control{kind, i};
            const Record r = record(image, control);
            if (r.status != status || r.channel != channel || (numbered(status) && r.data != quint8(message.at(1))))
                continue;
            // A momentary pad or button sends 0 when let go; a toggling one on every other press.
            if (status == kControlChange && kind != Kind::Knob && !r.toggle && value == 0)
                continue;
            if (shownIn(control, shown))
                return control;
            if (first.kind == Kind::None)
                first = control;
        }
    }
    return first;
}

QByteArray toMessage(const QByteArray &image, Control control)
{
    if (image.size() < kImageSize || !control.isValid())
        return {};
    const Record r = record(image, control);
    if (r.status == 0 || r.channel < 0)
        return {};
    QByteArray message(1, char(r.status | r.channel));
    if (numbered(r.status))
        message += char(r.data & 0x7F);
    if (r.status == kNoteOn)
        message += char(kVelocity);
    else if (r.status == kControlChange)
        message += char(control.kind == Kind::Knob ? kMiddle : kPressed);
    else if (r.status == kChannelPressure)
        message += char(kMiddle);
    else if (r.status == kPitchBend)
        message += QByteArray("\x00\x40", 2); // the centre: LSB, MSB
    return message;
}

Control parseControl(const QString &text)
{
    const Control control = ControlId::parse(text);
    return control.kind == Kind::Global ? Control() : control;
}

} // namespace controlhit
