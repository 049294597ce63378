#pragma once

#include <QString>

// One pad, knob or transport button, or the settings that belong to none of
// them (velocity curve, pressure level), and the names it goes by everywhere:
// "PAD B3" in reports and on mavuctl's command line, "pad:B3" in lists such as
// mavu-sim's --play, and "Pad B3" on screen, translated.
struct ControlId {
    enum class Kind { None, Global, Pad, Knob, Button };

    Kind kind = Kind::None;
    int index = -1; // pad 0–47, knob 0–11, button 0–5; -1 for none and the global settings

    static ControlId global() { return {Kind::Global, -1}; }
    // Pads 48, knobs 12, buttons 6; 1 for the global settings, 0 for none.
    static int count(Kind kind);

    bool isValid() const;
    // 0–2 for pads and knobs, -1 for the others.
    int bank() const;
    // First byte of the control's record in the settings image; the curve's for the global settings.
    int recordOffset() const;

    // "PAD B3", "KNOB A2", "BUTTON stop", "GLOBAL"; empty when not valid.
    QString machineName() const;
    // "pad:B3", "knob:A2", "button:stop"; empty for the global settings and when not valid.
    QString listName() const;
    // "Pad B3", "Knob A2", "Button Stop", "All pads", in the current language.
    QString translatedName() const;

    // Either form in any case ("PAD B3", "pad:b3", "button stop", "global");
    // Kind::None when it names no control.
    static ControlId parse(const QString &text);

    // What follows the kind in the names: "A1..C16", "A1..C4", "previous|stop|…|repeat".
    static QString nameRange(Kind kind);

    // "pad", "knob", "button", "global"; empty for none.
    static QString kindName(Kind kind);

    bool operator==(const ControlId &other) const { return kind == other.kind && index == other.index; }
    bool operator!=(const ControlId &other) const { return !(*this == other); }
};
