#include "model/ColorMath.h"

#include <algorithm>

std::array<std::int8_t, 3> normalizeColor(std::int8_t r, std::int8_t g, std::int8_t b)
{
    int m = std::max({int(r), int(g), int(b)});
    if (m < 1) {
        r = g = b = 1;
        m = 1;
    }
    const float f = float(127.0 / double(m));
    auto scale = [f](std::int8_t c) { return std::int8_t(int(float(c) * f)); };
    return {scale(r), scale(g), scale(b)};
}
