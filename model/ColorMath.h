#pragma once

#include <QString>

#include <array>
#include <cstdint>

// Scales a colour so that its largest component reaches full brightness (127,
// or 126 for some maxima: the arithmetic is single precision on purpose, it is
// what the controller's stored colours were made with).
std::array<std::int8_t, 3> normalizeColor(std::int8_t r, std::int8_t g, std::int8_t b);

// "#rgb", "#rrggbb" or "#aarrggbb" (QML's form with alpha, which is not
// stored) as red, green and blue of 0–255; false for anything else.
bool parseColor(const QString &text, std::array<int, 3> *rgb);
