#pragma once

#include <optional>
#include <string>

#include "game/command_line.h"
#include "replay/replay_file.h"

namespace qv {

class SandGame;

// Reads the replay at `path` through the script parser and its limits. Nothing, with the reason
// alone in `why` (the system's, or the line of the file and what is wrong there), when the file
// cannot be read or is not a whole replay.
std::optional<replay::Replay> readReplay(const std::string& path, std::string& why);

// The same, with one line in the program's voice in `error` that names the file and the reason.
std::optional<replay::Replay> readReplayFile(const std::string& path, std::string& error);

// Readies `game`, before start-up, for the session the command line asks for: the replay to watch
// (read now, so that a bad one is refused before any window opens), whose seed becomes the game's,
// and the file to record into. False, with one line in `error`, when the replay cannot be played.
bool chooseSession(SandGame& game, const CommandLine& options, std::string& error);

}  // namespace qv
