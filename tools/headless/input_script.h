#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace qv::headless {

enum class MouseAction { Move, LeftDown, RightDown, LeftUp, RightUp };

// One line of an input script: before frame `frame` runs, the mouse does `action` at (x, y).
struct ScriptEvent {
    int32_t frame = 0;
    MouseAction action = MouseAction::Move;
    int32_t x = 0;
    int32_t y = 0;
};

// No line of a script may be longer than this; a longer one is refused before it is held in memory.
inline constexpr std::size_t kMaxScriptLineLength = 4096;

// Reads a script of `F EVENT X Y` lines (blank lines and lines starting with '#' are skipped).
// Frames are 1 or more and never decrease. On a bad line, or when the stream reports a read error,
// returns nothing and says why in `error`, naming the line and quoting a short printable excerpt of it.
std::optional<std::vector<ScriptEvent>> parseInputScript(std::istream& input, std::string& error);

}  // namespace qv::headless
