#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "replay/input_script.h"
#include "replay/trace_columns.h"

namespace qv::replay {

// A replay is an input script with three kinds of comment line that make it a session of its own:
//   # quorvantile replay 1      the first line
//   # seed N                    the seed the game's generator started from, before any event
//   F EVENT X Y                 every mouse event the game took, before frame F
//   # end COLUMNS               the twelve trace columns after the last frame run, written when the
//                               game closed; a game cut short leaves no end line
// Other comment lines are skipped, so a replay runs as a script too.
inline constexpr std::string_view kReplayHeader = "# quorvantile replay 1";
inline constexpr int kReplayVersion = 1;

struct Replay {
    uint32_t seed = 0;
    std::vector<ScriptEvent> events;
    std::optional<TraceColumns> end;

    // The frame after which the session ended: the end line's, else the last event's, else 0.
    int32_t lastFrame() const;
};

// Reads a replay through the script parser and its limits. Nothing, with why in `error` (naming
// the line where there is one), when the text is not a whole replay of this version.
std::optional<Replay> parseReplay(std::istream& input, std::string& error);

// The lines a recorder writes, each ending in a newline.
std::string replayStartLines(uint32_t seed);
std::string eventLine(const ScriptEvent& event);
std::string endLine(const TraceColumns& columns);

}  // namespace qv::replay
