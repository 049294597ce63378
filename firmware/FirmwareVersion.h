#pragma once

#include <QString>

// Dotted firmware versions ("1.0.10"), compared part by part as numbers.
namespace firmwareversion {

// True when every dot-separated part is a decimal number; an empty part (as in
// "1..2") counts as 0.
bool isValid(const QString &version);

// Whether offered is newer than current. A missing part counts as 0, so "1.2"
// equals "1.2.0". *ok is false (and the answer false) when either is not valid.
bool isNewer(const QString &current, const QString &offered, bool *ok = nullptr);

} // namespace firmwareversion
