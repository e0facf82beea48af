#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace qv::tools {

// Both pictures are small and the game scales them up by two to the field's 384 x 576 pixels.
inline constexpr int32_t kBackgroundWidth = 192;
inline constexpr int32_t kBackgroundHeight = 288;

// A 24-bit picture: rows bottom-up, blue-green-red, each row 3 * width bytes (192 * 3 is already
// a multiple of 4, so no padding).
struct TrueColourPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> bottomUpRows;
};

// An 8-bit picture: one palette index per pixel, rows bottom-up, and its palette (blue, green, red).
struct PalettisedPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> bottomUpIndices;
    std::vector<std::array<uint8_t, 3>> palette;
};

// The picture players see under the beads: a dark night-blue glass with slow clouds, a faint
// diagonal sheen and a fine grain, dark enough that every bead colour stands out.
TrueColourPicture makeNightGlass();

// The second, unshown picture: deep water in 64 shades of dark teal, ordered-dithered.
PalettisedPicture makeDeepWater();

}  // namespace qv::tools
