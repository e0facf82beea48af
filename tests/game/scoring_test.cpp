#include <gtest/gtest.h>

#include "game/score_state.h"

namespace qv {
namespace {

ScoreState scoreWith(int32_t score, int32_t combo, int32_t bonusCountdown) {
    ScoreState state;
    state.score = score;
    state.combo = combo;
    state.bonusCountdown = bonusCountdown;
    return state;
}

TEST(Scoring, FirstHitsStartACombo) {
    ScoreState state;
    state.scoreFrame(3);
    EXPECT_EQ(state.score, 3);
    EXPECT_EQ(state.combo, 1);
    EXPECT_EQ(state.hits, 3);
    EXPECT_EQ(state.bonusCountdown, 43);
}

TEST(Scoring, MultiplierStepsUpEverySixtyScoringFrames) {
    ScoreState state = scoreWith(0, 59, 10);
    state.scoreFrame(5);
    EXPECT_EQ(state.score, 5) << "combo 59 still scores single";
    EXPECT_EQ(state.combo, 60);
    state.scoreFrame(5);
    EXPECT_EQ(state.score, 15) << "combo 60 doubles";
}

TEST(Scoring, ComboStopsAtItsCapAndAFrameAddsAtMost640) {
    ScoreState state = scoreWith(1000, 1170, 10);
    state.scoreFrame(32);
    EXPECT_EQ(state.score, 1000 + 640);
    EXPECT_EQ(state.combo, 1170);
}

// A combo after one scoring frame and 42 quiet ones.
void quietAfterOneHit(ScoreState& state) {
    state.scoreFrame(1);
    for (int frame = 1; frame <= 42; ++frame) {
        state.scoreFrame(0);
        ASSERT_EQ(state.bonusCountdown, 43 - frame);
        ASSERT_EQ(state.combo, 1);
    }
}

TEST(Scoring, ComboSurvivesFortyTwoQuietFramesAndLapsesOnTheFortyThird) {
    ScoreState kept;
    quietAfterOneHit(kept);
    kept.scoreFrame(2);
    EXPECT_EQ(kept.combo, 2) << "hits on the 43rd frame continue the combo";
    EXPECT_EQ(kept.bonusCountdown, 43);

    ScoreState lapsed;
    quietAfterOneHit(lapsed);
    lapsed.scoreFrame(0);
    EXPECT_EQ(lapsed.combo, 0);
    EXPECT_EQ(lapsed.bonusCountdown, 0);
    EXPECT_EQ(lapsed.hits, 0);
}

TEST(Scoring, QuietFramesWithoutComboStayAtZero) {
    ScoreState state;
    state.scoreFrame(0);
    EXPECT_EQ(state.combo, 0);
    EXPECT_EQ(state.bonusCountdown, 0);
}

TEST(Scoring, NothingChangesWhileTheGameIsOver) {
    ScoreState state = scoreWith(50, 7, 20);
    state.hits = 4;
    state.gameOver = true;
    state.scoreFrame(9);
    state.scoreFrame(0);
    EXPECT_EQ(state.score, 50);
    EXPECT_EQ(state.combo, 7);
    EXPECT_EQ(state.hits, 4);
    EXPECT_EQ(state.bonusCountdown, 20);
}

TEST(Scoring, ScoreSaturatesInsteadOfWrapping) {
    ScoreState state = scoreWith(ScoreState::kScoreCeiling - 100, 1170, 10);
    state.scoreFrame(32);
    EXPECT_EQ(state.score, ScoreState::kScoreCeiling);
    state.scoreFrame(32);
    EXPECT_EQ(state.score, ScoreState::kScoreCeiling);
}

TEST(Scoring, InitScoreStartsAfreshWithANewFont) {
    ScoreState state = scoreWith(99, 61, 30);
    state.gameOver = true;
    const Font* oldFont = state.hudFont.get();
    state.initScore();
    EXPECT_EQ(state.score, 0);
    EXPECT_EQ(state.combo, 0);
    EXPECT_EQ(state.bonusCountdown, 0);
    EXPECT_FALSE(state.gameOver);
    ASSERT_NE(state.hudFont, nullptr);
    EXPECT_NE(state.hudFont.get(), oldFont);
    EXPECT_EQ(std::string(state.hudFont->description().faceName.data()), "Terminal");
    EXPECT_EQ(state.hudFont->description().height, 16);
}

}  // namespace
}  // namespace qv
