#include "game/command_line.h"

#include <algorithm>

namespace qv {

namespace {

// Plain decimal digits only: "+2", " 2" and "2x" are typing mistakes worth pointing out.
std::optional<int32_t> scaleValue(std::string_view text) {
    const bool digits = std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (text.empty() || text.size() > 3 || !digits) {
        return std::nullopt;
    }
    int32_t value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
    }
    if (value < kMinScale || value > kMaxScale) {
        return std::nullopt;
    }
    return value;
}

// One line that says what was wrong and where the options are told.
CommandLine refusal(std::string_view mistake) {
    CommandLine refused;
    refused.action = CommandLine::Action::refuse;
    refused.error = std::string(kProgramName) + ": " + std::string(mistake) + "; '" + kProgramName +
                    " --help' lists the options";
    return refused;
}

CommandLine badScale(std::string_view value) {
    return refusal("--scale needs a whole number from 1 to 8, not '" + std::string(value) + "'");
}

}  // namespace

CommandLine parseCommandLine(std::span<const std::string_view> arguments) {
    CommandLine result;
    bool help = false;
    bool version = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--") {
            break;
        }
        if (argument.empty() || argument.front() != '-') {
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            help = true;
        } else if (argument == "--fullscreen") {
            result.fullscreen = true;
        } else if (argument == "--version") {
            version = true;
        } else if (argument == "--scale") {
            if (i + 1 == arguments.size()) {
                return refusal("--scale needs a value from 1 to 8");
            }
            const std::string_view value = arguments[++i];
            result.scale = scaleValue(value);
            if (!result.scale) {
                return badScale(value);
            }
        } else if (argument.starts_with("--scale=")) {
            const std::string_view value = argument.substr(8);
            result.scale = scaleValue(value);
            if (!result.scale) {
                return badScale(value);
            }
        } else {
            return refusal("unknown option '" + std::string(argument) + "'");
        }
    }
    if (help) {
        result.action = CommandLine::Action::showHelp;
    } else if (version) {
        result.action = CommandLine::Action::showVersion;
    }
    return result;
}

std::string usageText() {
    return "usage: quorvantile [--scale N] [--fullscreen] [--help] [--version]\n"
           "  --scale N      show every pixel as an N x N block, N from 1 to 8\n"
           "                 (default: the desktop's scale, as far as the screen holds it)\n"
           "  --fullscreen   start in full screen\n"
           "  -h, --help     show this text and exit\n"
           "  --version      show the version and exit\n"
           "mouse: left click pours beads, right click ends the game, left click starts anew\n"
           "keys:\n"
           "  F11, Alt+Enter   full screen on and off\n"
           "  Escape           leave full screen\n"
           "  P, Pause         pause and resume\n";
}

std::string versionLine() { return std::string(kProgramName) + " " + QV_VERSION; }

}  // namespace qv
