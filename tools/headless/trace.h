#pragma once

#include <cstdint>
#include <string>

namespace qv {
class BackBuffer;
class SandField;
class SandGame;
}

namespace qv::headless {

// 64-bit FNV-1a over the visible cells of the pair the last frame drew: per cell the kind byte,
// then the hue byte for a bead or a 0 byte otherwise; rows top to bottom, cells left to right.
uint64_t viewHash(const SandField& field);
// 64-bit FNV-1a over all of hue[0], hue[1], kind[0], kind[1], in that order.
uint64_t stateHash(const SandField& field);

// 64-bit FNV-1a over every byte of the composed picture in memory order (bottom row first, blue,
// green, red), so that a change in drawing shows in the trace even when the planes agree.
uint64_t frameHash(const BackBuffer& buffer);

std::string traceHeader();
// The trace line written after frame `frame` (1-based) has run.
std::string traceLine(int32_t frame, const SandGame& game);

}  // namespace qv::headless
