#include "game/session_choice.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <utility>

#include "game/sand_game.h"

namespace qv {

namespace {

std::string aboutReplay(const std::string& path, std::string_view what) {
    return std::string(kProgramName) + ": cannot play the replay '" + path + "': " + std::string(what);
}

}  // namespace

std::optional<replay::Replay> readReplayFile(const std::string& path, std::string& error) {
    errno = 0;
    std::ifstream input(path, std::ios::binary);
    if (!input.is_open()) {
        error = aboutReplay(path, errno != 0 ? std::strerror(errno) : "it cannot be opened");
        return std::nullopt;
    }
    errno = 0;
    std::string why;
    std::optional<replay::Replay> replay = replay::parseReplay(input, why);
    if (!replay) {
        // A read that fails (a folder, a failing disk) is the system's reason, not the text's.
        const bool unreadable = input.bad() && errno != 0;
        error = aboutReplay(path, unreadable ? std::string(std::strerror(errno)) : why);
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
