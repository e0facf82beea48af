#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "replay/replay_file.h"

namespace qv::replay {
namespace {

constexpr TraceColumns kEnd{2345, 870, 3, 12, 0, 1, 0, 300, 87, 0, 0x769bf820cf682e30, 0x2169d0f7620b5751};

std::optional<Replay> parse(const std::string& text, std::string& error) {
    std::istringstream input(text);
    return parseReplay(input, error);
}

// What a recorder writes reads back as the same session, with the seed at both ends of its range,
// events at the script's coordinate limits, and comments of the writer's own skipped.
TEST(ReplayFile, ReadsBackWhatARecorderWrites) {
    const std::vector<ScriptEvent> events{{1, MouseAction::Move, 200, 100},   {1, MouseAction::LeftDown, 200, 100},
                                          {2, MouseAction::LeftUp, -32768, 32767}, {9, MouseAction::RightDown, INT32_MIN, INT32_MAX},
                                          {2346, MouseAction::RightUp, 0, 0}};
    for (const uint32_t seed : {0u, 1733612345u, 4294967295u}) {
        std::string text = replayStartLines(seed) + "# recorded on a Tuesday\n\n";
        for (const ScriptEvent& event : events) {
            text += eventLine(event);
        }
        text += endLine(kEnd);
        std::string error;
        const auto replay = parse(text, error);
        ASSERT_TRUE(replay) << error;
        EXPECT_EQ(replay->seed, seed);
        EXPECT_EQ(replay->events, events);
        EXPECT_EQ(replay->end, kEnd);
        EXPECT_EQ(replay->lastFrame(), 2345);
    }
    EXPECT_EQ(endLine(kEnd), "# end 2345 870 3 12 0 1 0 300 87 0 769bf820cf682e30 2169d0f7620b5751\n");
}

// Anything that is not a whole replay of this version is refused, naming the line and what is wrong.
TEST(ReplayFile, RefusesMalformedReplaysByLine) {
    const std::string start = replayStartLines(7);
    const std::string end = "# end " + formatColumns(kEnd);
    const std::string columns = formatColumns(kEnd);
    const auto endWith = [&](std::size_t word, const std::string& value) {
        std::istringstream words(columns);
        std::vector<std::string> all{std::istream_iterator<std::string>(words), {}};
        all[word] = value;
        std::string line = "# end";
        for (const std::string& w : all) line += " " + w;
        return line;
    };
    const std::pair<std::string, std::string> bad[] = {
        // text, what the error says
        {"", "not a replay"},
        {"1 move 1 1\n", "line 1: not a replay"},
        {"# quorvantile replay 2\n# seed 7\n", "line 1: replay version '2'"},
        {"# quorvantile replay 1\n", "no '# seed' line"},
        {"# quorvantile replay 1\n1 move 1 1\n# seed 7\n", "line 2: an event before the '# seed' line"},
        {"# quorvantile replay 1\n# end " + columns + "\n", "line 2: an '# end' line before"},
        {start + "# seed 8\n", "line 3: a second '# seed' line"},
        {"# quorvantile replay 1\n# seed 4294967296\n", "line 2: expected '# seed N'"},
        {start + "5 move 1 1\n4 move 1 1\n", "line 4: frame 4 comes before frame 5"},
        {start + end + "\n2346 move 1 1\n", "line 4: an event after the '# end' line"},
        {start + "2347 move 1 1\n" + end + "\n", "line 4: the replay ends after frame 2345, but has an event before frame 2347"},
        {start + end + "\n" + end + "\n", "line 4: a second '# end' line"},
        {start + "# end 2345 870\n", "line 3: a bad '# end' line: expected the 12 columns"},
        {start + endWith(0, "-1") + "\n", "line 3: a bad '# end' line: frame is not"},
        {start + endWith(5, "2") + "\n", "line 3: a bad '# end' line: over is not"},
        {start + endWith(10, "769BF820CF682E30") + "\n", "line 3: a bad '# end' line: view_hash is not"},
        {start + endWith(11, "2169d0f7620b575") + "\n", "line 3: a bad '# end' line: state_hash is not"},
    };
    for (const auto& [text, says] : bad) {
        std::string error;
        EXPECT_FALSE(parse(text, error)) << text;
        EXPECT_NE(error.find(says), std::string::npos) << "'" << error << "' should say '" << says << "'";
    }
}

}  // namespace
}  // namespace qv::replay
