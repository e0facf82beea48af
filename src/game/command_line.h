#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv {

// What the player asked for on the command line.
struct CommandLine {
    enum class Action { play, showHelp, showVersion, refuse };

    Action action = Action::play;
    std::optional<int32_t> scale;  // --scale N, 1..8
    bool fullscreen = false;       // --fullscreen
    std::string recordPath;        // --record FILE: the session is recorded there
    std::string replayPath;        // --replay FILE: the session plays that replay first
    std::string error;             // for `refuse`: one line naming the offending argument
};

// The name the program goes by, and begins its lines on standard error with.
inline constexpr const char* kProgramName = "quorvantile";

inline constexpr int32_t kMinScale = 1;
inline constexpr int32_t kMaxScale = 8;

// Reads the arguments after the program name. Any bad option refuses the whole line, even beside
// --help or --version, with a line that names it and points to --help; arguments that do not start
// with '-' are ignored (a launcher may pass files), as is everything after "--".
CommandLine parseCommandLine(std::span<const std::string_view> arguments);

// The usage text with the keys, several lines ending in a newline.
std::string usageText();

// "quorvantile VERSION".
std::string versionLine();

}  // namespace qv
