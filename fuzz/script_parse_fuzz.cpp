// Feeds arbitrary bytes to the headless runner's two parsers: whole, as an input script, and split
// at newlines, as command-line arguments. What they accept must keep their promises; what they
// refuse must come with a reason short and printable enough for one line of standard error.

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "input_script.h"
#include "options.h"

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
    const auto events = qv::headless::parseInputScript(input, error);
    if (!events) {
        requireOneShortLine(error);
        return;
    }
    int32_t previous = 1;
    for (const qv::headless::ScriptEvent& event : *events) {
        require(event.frame >= previous);
        previous = event.frame;
    }
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
    checkOptions(text);
    return 0;
}
