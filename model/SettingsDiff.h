#pragma once

#include "model/ControlId.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Where two settings images differ, setting by setting: the compare dialog,
// the count of changes not sent, the per-control marks and `mavuctl diff`
// all read the same list.
namespace settingsDiff {

struct Difference {
    ControlId control = ControlId::global();
    QString key; // the model's record key ("padData", "bqmCh", …), "padColor", "curve" or "intensity"
    int offset = 0; // first byte of the setting in the image
    int length = 1; // bytes it spans (three for a pad's colour)
    QString left; // both values, readable: a note's number with its name, as dump shows it
    QString right;
};

// Every setting that differs, in image order; empty when both agree. The
// firmware version and the message framing are not settings and never differ.
// Images of the wrong size compare as all-default, so a bad file cannot crash a comparison.
QList<Difference> compare(const QByteArray &left, const QByteArray &right);
// Whether compare() would find nothing, without naming what differs.
bool sameSettings(const QByteArray &left, const QByteArray &right);

// Copies one setting from `from` into `into` (both whole images).
void take(const Difference &difference, const QByteArray &from, QByteArray *into);

// One line per difference: "PAD B3  padData  36 -> 38".
QString toText(const QList<Difference> &differences);

} // namespace settingsDiff
