#include <string>

#include "game/sand_game.h"

namespace {

// The one application object, alive from before main until the process ends.
qv::SandGame game;

}  // namespace

int main(int argc, char** argv) {
    // The command line is handed on and ignored, as the game takes no options.
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) {
            commandLine += ' ';
        }
        commandLine += argv[i];
    }
    return game.run(commandLine);
}
