#pragma once

#include <cstddef>
#include <cstdint>

// CRC-16/XMODEM (polynomial 0x1021, start 0): 0x31C3 over "123456789".
std::uint16_t crc16Xmodem(const std::uint8_t *data, std::size_t size);
