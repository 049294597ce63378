#pragma once

#include <QByteArray>

// Firmware contents for tests: no byte pattern repeats within a block, so a
// block sent twice, dropped or misplaced changes what arrives.
inline QByteArray testFirmwareBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 131) ^ (i >> 9));
    return bytes;
}
