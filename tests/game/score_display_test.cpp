#include <gtest/gtest.h>

#include "game/score_display.h"
#include "game/score_state.h"

namespace qv {
namespace {

// What a line shows: its text cut to the characters drawn.
std::string shown(const HudLine& line) { return line.text.substr(0, line.count); }

TEST(ScoreDisplay, StartShowsZeroScoreAndTheIdleBonusLine) {
    ScoreState state;
    const auto lines = scoreDisplayLines(state);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(shown(lines[0]), "SCORE:          0 ");
    EXPECT_EQ(shown(lines[1]), "BONUS:  0 x  0    ");
    EXPECT_EQ(lines[0].y, 0);
    EXPECT_EQ(lines[1].y, 16);
}

TEST(ScoreDisplay, RunningComboShowsMultiplierAndHits) {
    ScoreState state;
    state.score = 123;
    state.combo = 61;
    state.hits = 4;
    state.bonusCountdown = 30;
    const auto lines = scoreDisplayLines(state);
    EXPECT_EQ(shown(lines[0]), "SCORE:        123 ");
    EXPECT_EQ(shown(lines[1]), "BONUS:  2 x  4     ");
}

TEST(ScoreDisplay, WideNumbersWidenTheBonusLine) {
    EXPECT_EQ(formatBonusLine(20, 32), "BONUS:  20 x  32     ");
    EXPECT_EQ(formatBonusLine(3, 0), "BONUS:  3 x  0     ");
}

TEST(ScoreDisplay, TenDigitScoreLosesItsTrailingSpaceOnlyAtTheTop) {
    ScoreState state;
    state.score = 1234567890;
    state.gameOver = true;
    const auto lines = scoreDisplayLines(state);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(shown(lines[0]), "SCORE:  1234567890");
    EXPECT_EQ(shown(lines[4]), "SCORE:  1234567890 ");
    EXPECT_EQ(lines[4].y, 280);
}

TEST(ScoreDisplay, GameOverAddsNoticeHintAndFinalScoreInOrder) {
    ScoreState state;
    state.score = 7;
    state.gameOver = true;
    const auto lines = scoreDisplayLines(state);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(shown(lines[2]), " G A M E  O V E R ");
    EXPECT_EQ(lines[2].y, 200);
    EXPECT_EQ(shown(lines[3]), "L-Click to Restart");
    EXPECT_EQ(lines[3].y, 220);
    EXPECT_EQ(shown(lines[4]), "SCORE:          7 ");
    for (const HudLine& line : lines) {
        EXPECT_EQ(line.x, 0);
    }
}

}  // namespace
}  // namespace qv
