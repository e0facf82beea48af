#include "game/score_state.h"

#include <algorithm>

#include "game/score_display.h"

namespace qv {

FontDescription hudFontDescription() {
    FontDescription description;
    describeFont(description, "Terminal", kHudLineHeight);
    return description;
}

void ScoreState::initScore() {
    score = 0;
    combo = 0;
    hits = 0;
    bonusCountdown = 0;
    gameOver = false;
    hudFont = std::make_unique<Font>(hudFontDescription());
}

void ScoreState::scoreFrame(int32_t liveSparkles) {
    if (gameOver) {
        return;  // the score block stays frozen as the last scored frame left it
    }
    hits = liveSparkles;
    if (hits > 0) {
        bonusCountdown = kBonusFrames;
        // The multiplier is that of the combo before this frame counts. The score saturates
        // rather than wrapping into negative numbers after many hours of play.
        const int64_t gained = int64_t{hits} * multiplier();
        score = static_cast<int32_t>(std::min<int64_t>(int64_t{score} + gained, kScoreCeiling));
        if (combo < kComboCap) {
            ++combo;
        }
    }
    --bonusCountdown;
    if (bonusCountdown <= 0) {
        combo = 0;
        bonusCountdown = 0;
    }
}

}  // namespace qv
