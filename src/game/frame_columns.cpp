#include "game/frame_columns.h"

#include <cstddef>

#include "game/sand_game.h"
#include "support/fnv1a.h"

namespace qv {

uint64_t viewHash(const SandField& field) {
    // Rendering has flipped `front` already, so the pair it drew is the back pair now.
    const uint8_t* kinds = field.backKind();
    const uint8_t* hues = field.backHue();
    Fnv1a hash;
    for (int32_t y = 0; y < field.height; ++y) {
        for (int32_t x = 0; x < field.width; ++x) {
            const int32_t cell = field.gridIndex(x, y);
            hash.add(kinds[cell]);
            hash.add(holdsBead(kinds[cell]) ? hues[cell] : uint8_t{0});
        }
    }
    return hash.value();
}

uint64_t stateHash(const SandField& field) {
    Fnv1a hash;
    const auto bytes = static_cast<std::size_t>(field.cellCount);
    hash.add(field.hue[0].get(), bytes);
    hash.add(field.hue[1].get(), bytes);
    hash.add(field.kind[0].get(), bytes);
    hash.add(field.kind[1].get(), bytes);
    return hash.value();
}

replay::TraceColumns frameColumns(int32_t frame, const SandGame& game) {
    const ScoreState& score = game.scoreState;
    const SandField& field = game.field;
    return replay::TraceColumns{frame,
                                score.score,
                                score.combo,
                                score.hits,
                                score.bonusCountdown,
                                score.gameOver ? 1 : 0,
                                field.pouring ? 1 : 0,
                                field.pourCount,
                                game.nextHue,
                                field.liveSparkles,
                                viewHash(field),
                                stateHash(field)};
}

}  // namespace qv
