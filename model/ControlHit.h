#pragma once

#include "model/ControlId.h"

#include <QByteArray>
#include <QString>

// Which pad, knob or transport button a channel message from the controller
// comes from, as its settings image says, and the other way round: the
// message a control sends when it is hit or turned.
namespace controlhit {

// A control that can be played: a pad, knob or button.
using Control = ControlId;
using Kind = ControlId::Kind;

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

inline QString kindName(Kind kind)
{
    return ControlId::kindName(kind);
}
// A pad, knob or button by either of its names; Kind::None for anything else.
Control parseControl(const QString &text);

} // namespace controlhit
