#include "game/score_display.h"

#include <cstdio>

#include "game/score_state.h"

namespace qv {

namespace {

constexpr std::size_t kTopLineChars = 18;  // the top lines are cut to 18 characters
constexpr const char* kIdleBonusLine = "BONUS:  0 x  0     ";

std::string formatted(const char* format, int32_t first, int32_t second = 0) {
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, format, first, second);
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

HudLine wholeLine(int32_t x, int32_t y, std::string text) {
    const std::size_t count = text.size();
    return HudLine{x, y, std::move(text), count};
}

}  // namespace

std::string formatScoreLine(int32_t score) { return formatted("SCORE: % 10d ", score); }

std::string formatBonusLine(int32_t multiplier, int32_t hits) {
    return formatted("BONUS: % 2d x % 2d     ", multiplier, hits);
}

std::vector<HudLine> scoreDisplayLines(const ScoreState& scoreState) {
    std::vector<HudLine> lines;
    lines.push_back(HudLine{0, 0, formatScoreLine(scoreState.score), kTopLineChars});
    if (scoreState.bonusCountdown > 0) {
        lines.push_back(wholeLine(0, kHudLineHeight, formatBonusLine(scoreState.multiplier(), scoreState.hits)));
    } else {
        lines.push_back(HudLine{0, kHudLineHeight, kIdleBonusLine, kTopLineChars});
    }
    if (scoreState.gameOver) {
        lines.push_back(wholeLine(0, 200, " G A M E  O V E R "));
        lines.push_back(wholeLine(0, 220, "L-Click to Restart"));
        lines.push_back(wholeLine(0, 280, formatScoreLine(scoreState.score)));
    }
    return lines;
}

}  // namespace qv
