#include <csignal>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "game/command_line.h"
#include "game/sand_game.h"
#include "game/session_choice.h"

namespace {

// The one application object, alive from before main until the process ends.
qv::SandGame game;

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const qv::CommandLine options = qv::parseCommandLine(arguments);
    switch (options.action) {
        case qv::CommandLine::Action::refuse:
            std::cerr << options.error << '\n';
            return 2;
        case qv::CommandLine::Action::showHelp:
            std::cout << qv::usageText();
            return 0;
        case qv::CommandLine::Action::showVersion:
            std::cout << qv::versionLine() << '\n';
            return 0;
        case qv::CommandLine::Action::play:
            break;
    }
    game.programName = qv::kProgramName;
    game.requestedScale = options.scale;
    game.startFullscreen = options.fullscreen;
    std::string error;
    if (!qv::chooseSession(game, options, error)) {
        std::cerr << error << '\n';
        return 1;
    }
    // A recording into a pipe whose reader has gone then fails a write, which is said, and the
    // game plays on; by default the signal would end it.
    std::signal(SIGPIPE, SIG_IGN);
    // The rest of the command line is handed on and ignored.
    std::string commandLine;
    for (const std::string_view argument : arguments) {
        if (!commandLine.empty()) {
            commandLine += ' ';
        }
        commandLine += argument;
    }
    return game.run(commandLine);
}
