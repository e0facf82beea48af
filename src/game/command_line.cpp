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

// Where an option that names a file keeps it, by the option's name before any '='; nothing for
// other arguments.
std::string* fileOf(CommandLine& line, std::string_view argument) {
    const std::string_view name = argument.substr(0, argument.find('='));
    if (name == "--record") {
        return &line.recordPath;
    }
    if (name == "--replay") {
        return &line.replayPath;
    }
    return nullptr;
}

// The file named by `--option=FILE`, or by the argument after `--option`. A next argument that
// looks like an option is far more likely a forgotten name than a file, and is left alone
// (`--option=-name` names such a file). Nothing when no name is given.
std::optional<std::string_view> fileNamed(std::span<const std::string_view> arguments, std::size_t& i) {
    const std::string_view argument = arguments[i];
    std::string_view file;
    if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
        file = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size() && !arguments[i + 1].starts_with('-')) {
        file = arguments[++i];
    }
    return file.empty() ? std::nullopt : std::optional(file);
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
        } else if (std::string* file = fileOf(result, argument)) {
            const std::optional<std::string_view> named = fileNamed(arguments, i);
            if (!named) {
                const std::string_view option = argument.substr(0, argument.find('='));
                return refusal(std::string(option) + " needs a file: " + std::string(option) + " FILE");
            }
            *file = *named;
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
    return "usage: quorvantile [--scale N] [--fullscreen] [--record FILE] [--replay FILE] [--help] [--version]\n"
           "  --scale N       show every pixel as an N x N block, N from 1 to 8\n"
           "                  (default: the desktop's scale, as far as the screen holds it)\n"
           "  --fullscreen    start in full screen\n"
           "  --record FILE   record the game into FILE (replaced if it is there)\n"
           "  --replay FILE   play the game recorded in FILE, then play on from where it ends\n"
           "  -h, --help      show this text and exit\n"
           "  --version       show the version and exit\n"
           "mouse: left click pours beads, right click ends the game, left click starts anew\n"
           "keys:\n"
           "  F11, Alt+Enter   full screen on and off\n"
           "  Escape           leave full screen\n"
           "  P, Pause         pause and resume\n";
}

std::string versionLine() { return std::string(kProgramName) + " " + QV_VERSION; }

}  // namespace qv
