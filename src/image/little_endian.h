#pragma once

#include <cstdint>

namespace qv {

// Unsigned values stored little-endian in a file, whatever the byte order of the machine.
inline uint32_t littleEndian16(const uint8_t* bytes) { return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8; }

inline uint32_t littleEndian32(const uint8_t* bytes) {
    return littleEndian16(bytes) | littleEndian16(bytes + 2) << 16;
}

}  // namespace qv
