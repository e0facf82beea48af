#pragma once

#include <optional>
#include <string>

#include "game/command_line.h"
#include "replay/replay_file.h"

namespace qv {

class SandGame;

// Reads the replay at `path` through the script parser and its limits. Nothing, with one line in
// the program's voice in `error`, when the file cannot be read or is not a whole replay: the line
// names the file and, for a malformed one, the line of it and what is wrong there.
std::optional<replay::Replay> readReplayFile(const std::string& path, std::string& error);

// Readies `game`, before start-up, for the session the command line asks for: the replay to watch
// (read now, so that a bad one is refused before any window opens), whose seed becomes the game's,
// and the file to record into. False, with one line in `error`, when the replay cannot be played.
bool chooseSession(SandGame& game, const CommandLine& options, std::string& error);

}  // namespace qv
