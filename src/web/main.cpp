// The browser edition's entry: the page calls main once the pictures are in place. With no
// arguments it starts the game as the desktop does. A page opened with a replay link passes
// --replay FILE, the link's replay, which the game plays before the player takes over. A test page
// passes the headless runner's --seed and --frames to play a session of that many frames, with
// --input for a script that plays it instead of the player's mouse.
#include <emscripten.h>

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "game/session_choice.h"
#include "options.h"
#include "replay/input_file.h"
#include "replay/input_script.h"
#include "web/page_bridge.h"
#include "web/page_game.h"
#include "web/web_shell.h"

namespace {

constexpr std::string_view kReplayOption = "--replay";

// A replay that cannot be played is said on the page, and a new game starts as if none was given.
void watchReplay(const std::string& path) {
    std::string why;
    std::optional<qv::replay::Replay> replay = qv::readReplay(path, why);
    if (!replay) {
        qv::page::refuseReplay(why);
        return;
    }
    qv::web::pageGame().watch(std::move(*replay));
}

std::optional<std::vector<qv::replay::ScriptEvent>> readScript(const std::string& path, std::string& error) {
    const auto parseScript = [](std::istream& input, std::string& why) { return qv::replay::parseInputScript(input, why); };
    qv::replay::FileFailure failure;
    auto events = qv::replay::parseFile(path, parseScript, failure);
    if (!events) {
        const bool unread = failure.stage != qv::replay::FileFailure::Stage::Text;
        error = unread ? "the script cannot be read: " + failure.why : failure.why;
    }
    return events;
}

// Reads the session a test page asks for; false (with the reason on the page) when it cannot be
// played.
bool prepareSession(const std::vector<std::string_view>& arguments) {
    const auto refuse = [](const std::string& reason) {
        qv::page::showLine("Quorvantile: the session cannot run: " + reason);
        return false;
    };
    std::string error;
    const auto options = qv::headless::parseOptions(arguments, error);
    if (!options) {
        return refuse(error);
    }
    qv::web::PageGame& game = qv::web::pageGame();
    game.seed = options->seed;
    if (options->inputPath.empty()) {
        qv::web::webShell().stopAfter(options->frames);
        return true;
    }
    auto events = readScript(options->inputPath, error);
    if (!events) {
        return refuse(error);
    }
    qv::web::webShell().playScript(std::move(*events), options->frames);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (arguments.size() == 2 && arguments[0] == kReplayOption) {
        watchReplay(std::string(arguments[1]));
    } else if (!arguments.empty() && !prepareSession(arguments)) {
        return 2;
    }
    return qv::web::pageGame().run("");
}
