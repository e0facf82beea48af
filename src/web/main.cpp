// The browser edition's entry: the page calls main once the pictures are in place. With no
// arguments it starts the game as the desktop does; a test page passes the headless runner's
// --seed, --frames and --input to play a fixed session instead of the player's mouse, or --seed,
// --frames and --record for a session played by hand whose input the page is told of.
#include <emscripten.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/sand_game.h"
#include "input_script.h"
#include "options.h"
#include "support/mt19937.h"
#include "web/page_bridge.h"
#include "web/web_shell.h"

namespace {

// The game, seeded from a fixed number instead of the calendar when a session is scripted.
class PageGame final : public qv::SandGame {
public:
    int onInit() override {
        if (!fixedSeed) {
            return SandGame::onInit();
        }
        qv::sharedRandom().seed(*fixedSeed);
        return initialise();
    }

    std::optional<uint32_t> fixedSeed;
};

// The one application object, alive for as long as the page.
PageGame game;

constexpr std::string_view kRecordOption = "--record";

// Reads the scripted or recorded session; false (with the reason on the page) when it cannot be
// played.
bool prepareSession(std::vector<std::string_view> arguments) {
    const auto refuse = [](const std::string& reason) {
        qv::page::showLine("Quorvantile: the session cannot run: " + reason);
        return false;
    };
    const auto record = std::find(arguments.begin(), arguments.end(), kRecordOption);
    const bool recorded = record != arguments.end();
    if (recorded) {
        arguments.erase(record);
    }
    std::string error;
    const auto options = qv::headless::parseOptions(arguments, error);
    if (!options) {
        return refuse(error);
    }
    if (recorded) {
        if (!options->inputPath.empty()) {
            return refuse("a session played by hand has no input script");
        }
        game.fixedSeed = options->seed;
        qv::web::webShell().recordSession(options->frames);
        return true;
    }
    std::optional<std::vector<qv::headless::ScriptEvent>> events = std::vector<qv::headless::ScriptEvent>{};
    if (!options->inputPath.empty()) {
        std::ifstream input(options->inputPath);
        events = qv::headless::parseInputScript(input, error);
    }
    if (!events) {
        return refuse(error);
    }
    game.fixedSeed = options->seed;
    qv::web::webShell().playScript(std::move(*events), options->frames);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && !prepareSession(arguments)) {
        return 2;
    }
    return game.run("");
}
