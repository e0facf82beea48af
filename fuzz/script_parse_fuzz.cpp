// Feeds arbitrary bytes to the headless runner's parsers: whole, as an input script and as a replay,
// and split at newlines, as command-line arguments. What they accept must keep their promises (a
// replay written out again reads back the same); what they refuse must come with a reason short
// and printable enough for one line of standard error.

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "options.h"
#include "replay/input_script.h"
#include "replay/replay_file.h"

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void requireOneShortLine(const std::string& message) {
    require(!message.empty() && message.size() <= 300);
    for (const char c : message) {
        require(c >= ' ' && c <= '~');
    }
}

void checkScript(std::string_view text) {
    std::istringstream input{std::string(text)};
    std::string error;
    const auto events = qv::replay::parseInputScript(input, error);
    if (!events) {
        requireOneShortLine(error);
        return;
    }
    int32_t previous = 1;
    for (const qv::replay::ScriptEvent& event : *events) {
        require(event.frame >= previous);
        previous = event.frame;
    }
}

void checkReplay(std::string_view text) {
    std::istringstream input{std::string(text)};
    std::string error;
    const auto replay = qv::replay::parseReplay(input, error);
    if (!replay) {
        requireOneShortLine(error);
        return;
    }
    require(replay->lastFrame() >= 0);
    require(replay->events.empty() || !replay->end || replay->events.back().frame <= int64_t{replay->end->frame} + 1);
    std::string written = qv::replay::replayStartLines(replay->seed);
    for (const qv::replay::ScriptEvent& event : replay->events) {
        written += qv::replay::eventLine(event);
    }
    if (replay->end) {
        written += qv::replay::endLine(*replay->end);
    }
    std::istringstream again(written);
    const auto reread = qv::replay::parseReplay(again, error);
    require(reread && reread->seed == replay->seed && reread->events == replay->events && reread->end == replay->end);
}

void checkOptions(std::string_view text) {
    std::vector<std::string_view> arguments;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        arguments.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    std::string error;
    const auto options = qv::headless::parseOptions(arguments, error);
    if (!options) {
        require(!error.empty());
        return;
    }
    require(options->frames >= 0);
    require(options->pictureEvery >= 0);
    require((options->pictureEvery > 0) == !options->pictureDir.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkScript(text);
    checkReplay(text);
    checkOptions(text);
    return 0;
}
