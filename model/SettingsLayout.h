#pragma once

// Byte layout of the 458-byte settings image, shared by the model, the device
// protocol, preset files and the simulator.
namespace layout {

constexpr int kImageSize = 458;

constexpr int kCommandOffset = 1;
constexpr int kVersionOffset = 8; // major, minor, patch
constexpr int kCurveOffset = 11;
constexpr int kIntensityOffset = 12;

constexpr int kPadCount = 48;
constexpr int kPadsPerBank = 16;
constexpr int kPadRecordSize = 7;
constexpr int kPadOffset = 13;

constexpr int kKnobCount = 12;
constexpr int kKnobsPerBank = 4;
constexpr int kKnobRecordSize = 7;
constexpr int kKnobOffset = 349;

constexpr int kButtonCount = 6;
constexpr int kButtonRecordSize = 4;
constexpr int kButtonOffset = 433;

constexpr int kBankCount = 3;

// The ranges the fields are meant to hold.
constexpr int kMaxValue = 127; // a MIDI data byte
constexpr int kChannelCount = 16; // channels count from 1
constexpr int kPadTypeMax = 2; // note, control change, program change
constexpr int kKnobTypeMax = 2; // control change, channel pressure, pitch bend
constexpr int kButtonTypeMax = 1; // CC, MC
constexpr int kModeMax = 1; // momentary, toggle
constexpr int kCurveMax = 3; // FULL, LO, LINEAR, EXP

constexpr unsigned char kSysExStart = 0xF0;
constexpr unsigned char kSysExEnd = 0xF7;

constexpr int padOffset(int pad)
{
    return kPadOffset + kPadRecordSize * pad;
}
constexpr int knobOffset(int knob)
{
    return kKnobOffset + kKnobRecordSize * knob;
}
constexpr int buttonOffset(int button)
{
    return kButtonOffset + kButtonRecordSize * button;
}

// Record keys in byte order within each record.
inline const char *const kPadKeys[kPadRecordSize] = {"padtype", "padData", "padCh", "padMode", "padR", "padG", "padB"};
inline const char *const kKnobKeys[kKnobRecordSize]
    = {"bqmType", "bqmData", "bqmCh", "bqmLsbMin", "bqmLsbMax", "bqmMsbMin", "bqmMsbMax"};
inline const char *const kButtonKeys[kButtonRecordSize] = {"wbtype", "wbData", "wbCh", "wbMode"};

static_assert(padOffset(kPadCount) == kKnobOffset, "pad records end where knobs begin");
static_assert(knobOffset(kKnobCount) == kButtonOffset, "knob records end where buttons begin");
static_assert(buttonOffset(kButtonCount) == kImageSize - 1, "button records end before F7");

} // namespace layout
