#pragma once

#include <cstdint>

namespace qv {

struct PixelSize {
    int32_t width = 0;
    int32_t height = 0;
};

// Where the client area sits in what a window shows: every client pixel a scale x scale block of
// output pixels, the block of client pixel (0, 0) at (left, top).
struct PictureFit {
    int32_t scale = 1;
    int32_t left = 0;
    int32_t top = 0;
    bool operator==(const PictureFit&) const = default;
};

// The client area of clientWidth x clientHeight at the largest whole scale at which it fits an
// output of outputWidth x outputHeight pixels, centred (the rest is shown black). A window of
// exactly k times the client area gives scale k at (0, 0). An output too small for scale 1 keeps
// scale 1, centred on the axis that has room and from the top-left edge on one that has not.
PictureFit fitPicture(int32_t outputWidth, int32_t outputHeight, int32_t clientWidth, int32_t clientHeight);

// A client pixel, or a point beside the client area (negative, or past its size).
struct ClientPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const ClientPoint&) const = default;
};

// How a mouse position reaches the client area: window positions are in the window system's units,
// the output may have more pixels than the window has units (a Wayland output of scale 2 has twice
// as many each way), and the fit says where in the output the client area lies.
struct PointMapping {
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    int32_t outputWidth = 0;
    int32_t outputHeight = 0;
    PictureFit fit;
};

// The client pixel under window position (x, y), rounding down, so that a point left of or above
// the client area maps left of or above it and one beside its right or bottom edge past it.
ClientPoint clientPointOf(const PointMapping& mapping, int32_t x, int32_t y);

}  // namespace qv
