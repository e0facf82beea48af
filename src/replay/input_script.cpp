#include "replay/input_script.h"

#include <array>
#include <limits>
#include <string_view>
#include <utility>

#include "replay/whole_number.h"

namespace qv::replay {

namespace {

constexpr std::array<std::pair<std::string_view, MouseAction>, 5> kActions{{
    {"move", MouseAction::Move},
    {"ldown", MouseAction::LeftDown},
    {"rdown", MouseAction::RightDown},
    {"lup", MouseAction::LeftUp},
    {"rup", MouseAction::RightUp},
}};

enum class LineRead { line, end, tooLong };

// The next line without its newline, never holding more than kMaxScriptLineLength characters.
// A read error ends the lines; the caller tells it from the end by the stream's state.
LineRead readLine(std::istream& input, std::string& line) {
    std::array<char, kMaxScriptLineLength + 2> buffer{};  // room for one more than allowed tells a long line
    input.getline(buffer.data(), std::ssize(buffer));
    if (input.bad()) {
        return LineRead::end;
    }
    if (input.fail()) {  // nothing left, or the buffer filled before the line ended
        line.assign(buffer.data(), static_cast<std::size_t>(input.gcount()));
        return input.eof() ? LineRead::end : LineRead::tooLong;
    }
    // The count includes the newline when one ended the line; a last line may end without one.
    const auto stored = static_cast<std::size_t>(input.gcount()) - (input.eof() ? 0 : 1);
    line.assign(buffer.data(), stored);
    return stored > kMaxScriptLineLength ? LineRead::tooLong : LineRead::line;
}

// Splits on spaces and tabs.
std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> result;
    std::size_t start = 0;
    while (start < line.size()) {
        start = line.find_first_not_of(" \t\r", start);
        if (start == std::string_view::npos) {
            break;
        }
        std::size_t end = line.find_first_of(" \t\r", start);
        if (end == std::string_view::npos) {
            end = line.size();
        }
        result.push_back(line.substr(start, end - start));
        start = end;
    }
    return result;
}

// A signed 32-bit number, of at least `low`.
std::optional<int32_t> whole(std::string_view text, int32_t low = std::numeric_limits<int32_t>::min()) {
    return parseWholeNumber(text, low, std::numeric_limits<int32_t>::max());
}

std::optional<MouseAction> action(std::string_view name) {
    for (const auto& [word, mouseAction] : kActions) {
        if (word == name) {
            return mouseAction;
        }
    }
    return std::nullopt;
}

// Why the line is not an event, or nothing when it is one.
std::optional<std::string> readEvent(const std::vector<std::string_view>& fields, int32_t previousFrame,
                                     ScriptEvent& event) {
    if (fields.size() != 4) {
        return "expected 'FRAME EVENT X Y', found " + std::to_string(fields.size()) + " fields";
    }
    const auto frame = whole(fields[0], 1);
    if (!frame) {
        return "frame '" + excerpt(fields[0]) + "' is not a whole number of 1 or more";
    }
    if (*frame < previousFrame) {
        return "frame " + std::to_string(*frame) + " comes before frame " + std::to_string(previousFrame);
    }
    const auto mouseAction = action(fields[1]);
    if (!mouseAction) {
        return "unknown event '" + excerpt(fields[1]) + "' (expected move, ldown, rdown, lup or rup)";
    }
    const auto x = whole(fields[2]);
    const auto y = whole(fields[3]);
    if (!x || !y) {
        return "coordinates '" + excerpt(fields[2]) + " " + excerpt(fields[3]) + "' are not signed 32-bit whole numbers";
    }
    event = ScriptEvent{*frame, *mouseAction, *x, *y};
    return std::nullopt;
}

std::optional<std::string> checkComment(ScriptLineCheck* check, int lineNumber, std::span<const std::string_view> fields) {
    return check != nullptr ? check->comment(lineNumber, fields) : std::nullopt;
}

std::optional<std::string> readCheckedEvent(ScriptLineCheck* check, int lineNumber,
                                            const std::vector<std::string_view>& fields, int32_t previousFrame,
                                            ScriptEvent& event) {
    auto problem = readEvent(fields, previousFrame, event);
    if (!problem && check != nullptr) {
        problem = check->event(lineNumber, event);
    }
    return problem;
}

}  // namespace

std::string_view actionName(MouseAction action) {
    for (const auto& [word, mouseAction] : kActions) {
        if (mouseAction == action) {
            return word;
        }
    }
    return "?";  // never: every action has its word
}

std::string excerpt(std::string_view text) {
    constexpr std::size_t kExcerptLength = 40;
    std::string shown;
    for (const char c : text.substr(0, kExcerptLength)) {
        shown += (c >= ' ' && c <= '~') ? c : '?';
    }
    return text.size() > kExcerptLength ? shown + "..." : shown;
}

std::optional<std::vector<ScriptEvent>> parseInputScript(std::istream& input, std::string& error,
                                                         ScriptLineCheck* check) {
    std::vector<ScriptEvent> events;
    std::string line;
    int lineNumber = 0;
    int32_t previousFrame = 1;
    for (LineRead read; (read = readLine(input, line)) != LineRead::end;) {
        ++lineNumber;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (read == LineRead::tooLong) {
            error = where + "longer than " + std::to_string(kMaxScriptLineLength) + " characters: '" + excerpt(line) + "'";
            return std::nullopt;
        }
        const auto fields = words(line);
        if (fields.empty()) {
            continue;
        }
        const bool isComment = fields.front().front() == '#';
        ScriptEvent event;
        if (const auto problem = isComment ? checkComment(check, lineNumber, fields)
                                           : readCheckedEvent(check, lineNumber, fields, previousFrame, event)) {
            error = where + *problem + ": '" + excerpt(line) + "'";
            return std::nullopt;
        }
        if (isComment) {
            continue;
        }
        previousFrame = event.frame;
        events.push_back(event);
    }
    if (input.bad()) {
        error = "the script could not be read to its end (after line " + std::to_string(lineNumber) + ")";
        return std::nullopt;
    }
    return events;
}

}  // namespace qv::replay
