#include "game/session_choice.h"

#include <utility>

#include "game/sand_game.h"
#include "replay/input_file.h"

namespace qv {

namespace {

std::string aboutReplay(const std::string& path, std::string_view what) {
    return std::string(kProgramName) + ": cannot play the replay '" + path + "': " + std::string(what);
}

}  // namespace

std::optional<replay::Replay> readReplay(const std::string& path, std::string& why) {
    replay::FileFailure failure;
    std::optional<replay::Replay> replay = replay::parseFile(path, replay::parseReplay, failure);
    if (!replay) {
        why = std::move(failure.why);
    }
    return replay;
}

std::optional<replay::Replay> readReplayFile(const std::string& path, std::string& error) {
    std::string why;
    std::optional<replay::Replay> replay = readReplay(path, why);
    if (!replay) {
        error = aboutReplay(path, why);
    }
    return replay;
}

bool chooseSession(SandGame& game, const CommandLine& options, std::string& error) {
    if (!options.replayPath.empty()) {
        std::optional<replay::Replay> replay = readReplayFile(options.replayPath, error);
        if (!replay) {
            return false;
        }
        game.watch(std::move(*replay));
    }
    game.recordPath = options.recordPath;
    return true;
}

}  // namespace qv
