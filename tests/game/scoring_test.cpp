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

// How frames turn sparkles into points, the combo, its multiplier and its end, and that nothing
// scores once the game is over, are guarded by the recorded sessions (tests/tools/golden); no
// session reaches the score's ceiling.
TEST(Scoring, TheScoreSaturatesInsteadOfWrapping) {
    ScoreState state = scoreWith({ScoreState::kScoreCeiling - 100, ScoreState::kComboCap, 10});
    state.scoreFrame(32);
    EXPECT_EQ(state.score, ScoreState::kScoreCeiling);
}

// A new game starts from zero, and its score is written in "Terminal", one line high.
TEST(Scoring, ANewGameStartsAfreshInTheHudFont) {
    ScoreState state = scoreWith({50, 7, 20}, 4, true);
    state.initScore();
    EXPECT_EQ(state.score + state.combo + state.hits + state.bonusCountdown, 0);
    EXPECT_FALSE(state.gameOver);
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
