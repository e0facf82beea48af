#pragma once

#include <cstdint>
#include <string>

namespace qv {
class BackBuffer;
class SandGame;
}

namespace qv::headless {

// 64-bit FNV-1a over every byte of the composed picture in memory order (bottom row first, blue,
// green, red), so that a change in drawing shows in the trace even when the planes agree.
uint64_t frameHash(const BackBuffer& buffer);

std::string traceHeader();
// The trace line written after frame `frame` (1-based) has run: the game's columns, as a replay's
// end line has them, and the picture's hash.
std::string traceLine(int32_t frame, const SandGame& game);

}  // namespace qv::headless
