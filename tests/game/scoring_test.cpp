#include <gtest/gtest.h>

#include <vector>

#include "game/score_display.h"
#include "game/score_state.h"

namespace qv {
namespace {

struct Counters {
    int32_t score, combo, bonusCountdown;
};

ScoreState scoreWith(const Counters& counters, int32_t hits = 0, bool gameOver = false) {
    ScoreState state;
    state.score = counters.score;
    state.combo = counters.combo;
    state.bonusCountdown = counters.bonusCountdown;
    state.hits = hits;
    state.gameOver = gameOver;
    return state;
}

TEST(Scoring, FramesTurnSparklesIntoPointsWithTheComboMultiplier) {
    constexpr int32_t kMax = ScoreState::kScoreCeiling;
    struct Case {
        const char* what;
        Counters before;
        int32_t hits;
        Counters after;
    };
    const Case cases[] = {
        {"first hits start a combo", {0, 0, 0}, 3, {3, 1, 43}},
        {"combo 59 still scores single", {0, 59, 10}, 5, {5, 60, 43}},
        {"combo 60 doubles", {5, 60, 43}, 5, {15, 61, 43}},
        {"the cap: 32 hits add 640 at most", {1000, 1170, 10}, 32, {1640, 1170, 43}},
        {"a quiet frame counts the combo down", {10, 5, 2}, 0, {10, 5, 1}},
        {"the 43rd quiet frame ends the combo", {10, 5, 1}, 0, {10, 0, 0}},
        {"quiet frames without a combo stay at zero", {0, 0, 0}, 0, {0, 0, 0}},
        {"the score saturates instead of wrapping", {kMax - 100, 1170, 10}, 32, {kMax, 1170, 43}},
    };
    for (const Case& c : cases) {
        ScoreState state = scoreWith(c.before);
        state.scoreFrame(c.hits);
        EXPECT_EQ(state.score, c.after.score) << c.what;
        EXPECT_EQ(state.combo, c.after.combo) << c.what;
        EXPECT_EQ(state.bonusCountdown, c.after.bonusCountdown) << c.what;
        EXPECT_EQ(state.hits, c.hits) << c.what;
    }
}

TEST(Scoring, NothingChangesWhileTheGameIsOverAndARestartStartsAfresh) {
    ScoreState state = scoreWith({50, 7, 20}, 4, true);
    state.scoreFrame(9);
    state.scoreFrame(0);
    EXPECT_EQ(state.score, 50);
    EXPECT_EQ(state.combo, 7);
    EXPECT_EQ(state.hits, 4);
    EXPECT_EQ(state.bonusCountdown, 20);

    const Font* oldFont = state.hudFont.get();
    state.initScore();
    EXPECT_EQ(state.score + state.combo + state.hits + state.bonusCountdown, 0);
    EXPECT_FALSE(state.gameOver);
    ASSERT_NE(state.hudFont.get(), oldFont) << "a fresh HUD font replaces the old one";
    EXPECT_STREQ(state.hudFont->description().faceName.data(), "Terminal");
    EXPECT_EQ(state.hudFont->description().height, 16);
}

TEST(ScoreDisplay, ShowsExactlyTheseCharactersAtThesePlaces) {
    struct Case {
        Counters counters;
        int32_t hits;
        bool gameOver;
        std::vector<std::string> shown;  // at y = 0, 16, then 200, 220, 280 once the game is over
    };
    const Case cases[] = {
        {{0, 0, 0}, 0, false, {"SCORE:          0 ", "BONUS:  0 x  0    "}},
        {{123, 61, 30}, 4, false, {"SCORE:        123 ", "BONUS:  2 x  4     "}},
        {{9, 1140, 5}, 32, false, {"SCORE:          9 ", "BONUS:  20 x  32     "}},
        {{9, 3, 5}, 0, false, {"SCORE:          9 ", "BONUS:  1 x  0     "}},
        {{1234567890, 0, 0},
         0,
         true,
         {"SCORE:  1234567890", "BONUS:  0 x  0    ", " G A M E  O V E R ", "L-Click to Restart",
          "SCORE:  1234567890 "}},
    };
    const int32_t rows[] = {0, 16, 200, 220, 280};
    for (const Case& c : cases) {
        const auto lines = scoreDisplayLines(scoreWith(c.counters, c.hits, c.gameOver));
        ASSERT_EQ(lines.size(), c.shown.size()) << c.shown[0];
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].text.substr(0, lines[i].count), c.shown[i]);
            EXPECT_EQ(lines[i].x, 0);
            EXPECT_EQ(lines[i].y, rows[i]);
        }
    }
}

}  // namespace
}  // namespace qv
