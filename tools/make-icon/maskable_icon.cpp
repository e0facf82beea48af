#include "maskable_icon.h"

#include <algorithm>
#include <cstddef>

#include "game/game_icon.h"

namespace qv {

namespace {

// Launchers keep at least the circle of 40% of the side around the middle; the ring drawn at 4/5 of
// the side reaches 15.5/32 of that, 38.75% of the side, from the middle.
constexpr int32_t kKeptNumerator = 4;
constexpr int32_t kKeptDenominator = 5;
constexpr uint8_t kWhite = 255;

}  // namespace

IconImage makeMaskableIcon(int32_t size) {
    int32_t inner = size * kKeptNumerator / kKeptDenominator;
    inner -= (size - inner) % 2;  // the parity of the side, so that the margins are equal
    if (inner < 1) {
        inner = size;  // too small for a margin: the ring fills the picture
    }
    const IconImage ring = makeGameIcon(inner);
    const int32_t margin = (size - inner) / 2;

    IconImage icon;
    icon.width = size;
    icon.height = size;
    icon.rgba.assign(static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * 4, kWhite);
    const std::size_t ringRowBytes = static_cast<std::size_t>(inner) * 4;
    for (int32_t row = 0; row < inner; ++row) {
        const auto from = ring.rgba.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(row) * ringRowBytes);
        const std::size_t to = (static_cast<std::size_t>(row + margin) * static_cast<std::size_t>(size) + margin) * 4;
        std::copy(from, from + static_cast<std::ptrdiff_t>(ringRowBytes), icon.rgba.begin() + static_cast<std::ptrdiff_t>(to));
    }
    return icon;
}

}  // namespace qv
