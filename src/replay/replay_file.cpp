#include "replay/replay_file.h"

#include <limits>
#include <span>
#include <utility>

#include "replay/whole_number.h"

namespace qv::replay {

namespace {

// Checks the replay's own lines while the script parser reads the file, and keeps what they say.
class ReplayLines final : public ScriptLineCheck {
public:
    explicit ReplayLines(Replay& replay) : replay_(replay) {}

    std::optional<std::string> comment(int lineNumber, std::span<const std::string_view> words) override {
        if (lineNumber == 1) {
            return header(words);
        }
        if (words.size() < 2 || words[0] != "#") {
            return std::nullopt;  // a comment of someone's own
        }
        if (words[1] == "seed") {
            return seed(words.subspan(2));
        }
        if (words[1] == "end") {
            return end(words.subspan(2));
        }
        return std::nullopt;
    }

    std::optional<std::string> event(int lineNumber, const ScriptEvent& event) override {
        if (lineNumber == 1) {
            return notAReplay();
        }
        if (!seedSeen_) {
            return "an event before the '# seed' line";
        }
        if (replay_.end) {
            return "an event after the '# end' line";
        }
        lastEventFrame_ = event.frame;
        return std::nullopt;
    }

    bool headerSeen() const { return headerSeen_; }
    bool seedSeen() const { return seedSeen_; }

private:
    static std::string notAReplay() { return "not a replay: the first line must be '" + std::string(kReplayHeader) + "'"; }

    std::optional<std::string> header(std::span<const std::string_view> words) {
        const bool named = words.size() == 4 && words[0] == "#" && words[1] == "quorvantile" && words[2] == "replay";
        if (!named) {
            return notAReplay();
        }
        if (words[3] != std::to_string(kReplayVersion)) {
            return "replay version '" + excerpt(words[3]) + "' cannot be read; this program reads version " +
                   std::to_string(kReplayVersion);
        }
        headerSeen_ = true;
        return std::nullopt;
    }

    std::optional<std::string> seed(std::span<const std::string_view> words) {
        if (seedSeen_) {
            return "a second '# seed' line";
        }
        const auto value =
            words.size() == 1 ? parseWholeNumber<uint32_t>(words[0], 0, std::numeric_limits<uint32_t>::max()) : std::nullopt;
        if (!value) {
            return "expected '# seed N' with N a whole number from 0 to 4294967295";
        }
        replay_.seed = *value;
        seedSeen_ = true;
        return std::nullopt;
    }

    std::optional<std::string> end(std::span<const std::string_view> words) {
        if (!seedSeen_) {
            return "an '# end' line before the '# seed' line";
        }
        if (replay_.end) {
            return "a second '# end' line";
        }
        std::string why;
        const auto columns = parseColumns(words, why);
        if (!columns) {
            return "a bad '# end' line: " + why;
        }
        // An event may follow the last frame run (delivered as the window closed), never a later one.
        if (lastEventFrame_ > int64_t{columns->frame} + 1) {
            return "the replay ends after frame " + std::to_string(columns->frame) + ", but has an event before frame " +
                   std::to_string(lastEventFrame_);
        }
        replay_.end = columns;
        return std::nullopt;
    }

    Replay& replay_;
    bool headerSeen_ = false;
    bool seedSeen_ = false;
    int32_t lastEventFrame_ = 0;
};

}  // namespace

int32_t Replay::lastFrame() const {
    if (end) {
        return end->frame;
    }
    return events.empty() ? 0 : events.back().frame;
}

std::optional<Replay> parseReplay(std::istream& input, std::string& error) {
    Replay replay;
    ReplayLines lines(replay);
    auto events = parseInputScript(input, error, &lines);
    if (!events) {
        return std::nullopt;
    }
    if (!lines.headerSeen()) {
        error = "not a replay: the file is empty or its first line is blank";
        return std::nullopt;
    }
    if (!lines.seedSeen()) {
        error = "the replay has no '# seed' line";
        return std::nullopt;
    }
    replay.events = std::move(*events);
    return replay;
}

std::string replayStartLines(uint32_t seed) {
    return std::string(kReplayHeader) + "\n# seed " + std::to_string(seed) + "\n";
}

std::string eventLine(const ScriptEvent& event) {
    return std::to_string(event.frame) + " " + std::string(actionName(event.action)) + " " + std::to_string(event.x) +
           " " + std::to_string(event.y) + "\n";
}

std::string endLine(const TraceColumns& columns) { return "# end " + formatColumns(columns) + "\n"; }

}  // namespace qv::replay
