#pragma once

#include <cstdint>
#include <memory>

#include "app/font.h"

namespace qv {

// The score block: points, the running combo and the HUD font the score is written in.
struct ScoreState {
    static constexpr int32_t kBonusFrames = 44;  // a hit keeps the combo alive for 43 more frames
    static constexpr int32_t kComboStep = 60;    // scoring frames per step of the multiplier
    static constexpr int32_t kComboCap = 1170;   // multiplier 20 at most
    static constexpr int32_t kScoreCeiling = INT32_MAX;

    ScoreState() { initScore(); }

    // Zeroes the counters, clears the game-over flag and makes a fresh HUD font; the font it
    // replaces is released.
    void initScore();

    // Turns one frame's live sparkles into points, unless the game is over.
    void scoreFrame(int32_t liveSparkles);

    int32_t multiplier() const { return combo / kComboStep + 1; }

    int32_t score = 0;
    int32_t combo = 0;
    int32_t hits = 0;
    int32_t bonusCountdown = 0;
    bool gameOver = false;
    std::unique_ptr<Font> hudFont;
};

// The HUD font: "Terminal" at 16 pixels a line, fixed pitch.
FontDescription hudFontDescription();

}  // namespace qv
