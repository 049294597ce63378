#pragma once

#include <QByteArray>
#include <QString>

// Which pad, knob or transport button a channel message from the controller
// comes from, as its settings image says, and the other way round: the
// message a control sends when it is hit or turned.
namespace controlhit {

enum class Kind { None, Pad, Knob, Button };

struct Control {
    Kind kind = Kind::None;
    int index = -1; // pad 0..47, knob 0..11, button 0..5

    bool operator==(const Control &other) const { return kind == other.kind && index == other.index; }
};

// The banks the page shows; a message several controls send is taken as the
// one of a shown bank, else the first.
struct ShownBanks {
    int pads = 0;
    int knobs = 0;
};

// A release (note off, velocity 0, a momentary CC's 0) is no hit.
Control fromMessage(const QByteArray &image, const QByteArray &message, ShownBanks shown = {});
// A press or a turn; empty for a button sending machine control.
QByteArray toMessage(const QByteArray &image, Control control);

// "pad", "knob", "button"; empty for none.
QString kindName(Kind kind);
// "pad:B3", "knob:A2", "button:stop" and back; parse gives Kind::None when bad.
QString controlName(Control control);
Control parseControl(const QString &text);

} // namespace controlhit
