#include "trace.h"

#include <cinttypes>
#include <cstddef>
#include <cstdio>

#include "game/sand_game.h"

namespace qv::headless {

namespace {

constexpr uint64_t kFnvOffsetBasis = 0xcbf29ce484222325ULL;
constexpr uint64_t kFnvPrime = 0x100000001b3ULL;

class Fnv1a {
public:
    void add(uint8_t byte) {
        hash_ ^= byte;
        hash_ *= kFnvPrime;
    }
    void add(const uint8_t* bytes, std::size_t count) {
        uint64_t hash = hash_;  // kept local: this runs over the whole picture every frame
        for (std::size_t i = 0; i < count; ++i) {
            hash = (hash ^ bytes[i]) * kFnvPrime;
        }
        hash_ = hash;
    }
    uint64_t value() const { return hash_; }

private:
    uint64_t hash_ = kFnvOffsetBasis;
};

}  // namespace

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

uint64_t frameHash(const BackBuffer& buffer) {
    Fnv1a hash;
    if (buffer.exists()) {
        hash.add(buffer.bits, static_cast<std::size_t>(buffer.rowBytes()) * static_cast<std::size_t>(buffer.height));
    }
    return hash.value();
}

std::string traceHeader() {
    return "# frame score combo hits bonus over pouring pour_count next_hue live_sparkles view_hash state_hash frame_hash";
}

std::string traceLine(int32_t frame, const SandGame& game) {
    const ScoreState& score = game.scoreState;
    const SandField& field = game.field;
    char line[256];
    std::snprintf(line, sizeof line, "%d %d %d %d %d %d %d %d %d %d %016" PRIx64 " %016" PRIx64 " %016" PRIx64, frame, score.score,
                  score.combo, score.hits, score.bonusCountdown, score.gameOver ? 1 : 0, field.pouring ? 1 : 0,
                  field.pourCount, game.nextHue, field.liveSparkles, viewHash(field), stateHash(field), frameHash(game.backBuffer));
    return line;
}

}  // namespace qv::headless
