#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv::replay {

enum class MouseAction { Move, LeftDown, RightDown, LeftUp, RightUp };

// One line of an input script: before frame `frame` runs, the mouse does `action` at (x, y).
struct ScriptEvent {
    int32_t frame = 0;
    MouseAction action = MouseAction::Move;
    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const ScriptEvent&) const = default;
};

// The word a script line uses for the action: move, ldown, rdown, lup or rup.
std::string_view actionName(MouseAction action);

// No line of a script may be longer than this; a longer one is refused before it is held in memory.
inline constexpr std::size_t kMaxScriptLineLength = 4096;

// A format built on scripts (a replay) sees its comment lines and events as they are read. A reason
// either returns refuses the line, named by its number and quoted like any other bad line.
class ScriptLineCheck {
public:
    virtual ~ScriptLineCheck() = default;
    // A line whose first word starts with '#', split into words.
    virtual std::optional<std::string> comment(int lineNumber, std::span<const std::string_view> words) = 0;
    virtual std::optional<std::string> event(int lineNumber, const ScriptEvent& event) = 0;
};

// Reads a script of `F EVENT X Y` lines (blank lines and lines starting with '#' are skipped).
// Frames are 1 or more and never decrease. On a bad line, or when the stream reports a read error,
// returns nothing and says why in `error`, naming the line and quoting a short printable excerpt of it.
std::optional<std::vector<ScriptEvent>> parseInputScript(std::istream& input, std::string& error,
                                                         ScriptLineCheck* check = nullptr);

// At most the first 40 characters of `text`, anything unprintable shown as '?', so that an error
// line stays one short line whatever a file holds.
std::string excerpt(std::string_view text);

}  // namespace qv::replay
