#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct ScoreState;

// The display's lines are 16 pixels high, one under the other.
inline constexpr int32_t kHudLineHeight = 16;

// One line of the score display: where its top-left corner goes, its text, and how many of its
// characters are drawn.
struct HudLine {
    int32_t x = 0;
    int32_t y = 0;
    std::string text;
    std::size_t count = 0;
};

// "SCORE: % 10d " for the score.
std::string formatScoreLine(int32_t score);
// "BONUS: % 2d x % 2d     " for a running combo.
std::string formatBonusLine(int32_t multiplier, int32_t hits);

// The lines the display draws for this score block, in drawing order: score, bonus, and while the
// game is over the notice, the hint and the final score.
std::vector<HudLine> scoreDisplayLines(const ScoreState& scoreState);

}  // namespace qv
