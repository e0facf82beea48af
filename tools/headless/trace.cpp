#include "trace.h"

#include <cinttypes>
#include <cstddef>
#include <cstdio>

#include "game/frame_columns.h"
#include "game/sand_game.h"
#include "support/fnv1a.h"

namespace qv::headless {

uint64_t frameHash(const BackBuffer& buffer) {
    Fnv1a hash;
    if (buffer.exists()) {
        hash.add(buffer.bits, static_cast<std::size_t>(buffer.rowBytes()) * static_cast<std::size_t>(buffer.height));
    }
    return hash.value();
}

std::string traceHeader() { return "# " + std::string(replay::kColumnNames) + " frame_hash"; }

std::string traceLine(int32_t frame, const SandGame& game) {
    char hash[24];
    std::snprintf(hash, sizeof hash, " %016" PRIx64, frameHash(game.backBuffer));
    return replay::formatColumns(frameColumns(frame, game)) + hash;
}

}  // namespace qv::headless
