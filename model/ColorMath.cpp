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

bool parseColor(const QString &text, std::array<int, 3> *rgb)
{
    const int digits = text.size() - 1;
    if (!text.startsWith(QLatin1Char('#')) || (digits != 3 && digits != 6 && digits != 8))
        return false;
    quint32 value = 0;
    for (int i = 1; i <= digits; ++i) {
        const char c = text.at(i).toLatin1(); // 0 for anything beyond Latin-1
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        value = value << 4 | quint32(digit);
    }
    if (digits == 3)
        *rgb = {int(value >> 8) * 17, int(value >> 4 & 0xF) * 17, int(value & 0xF) * 17};
    else
        *rgb = {int(value >> 16 & 0xFF), int(value >> 8 & 0xFF), int(value & 0xFF)};
    return true;
}
