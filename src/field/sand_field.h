#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "field/tile_palette.h"
#include "image/drawable.h"

namespace qv {

// The kind byte of a cell.
enum CellKind : uint8_t { kEmpty = 0, kWall = 1, kFirstBead = 2, kLastBead = 5 };

inline constexpr bool holdsBead(uint8_t kind) { return kind >= kFirstBead; }

// A live sparkle digs at `cell` (a grid index) while `countdown` runs down to 0; -1 marks a free slot.
struct Sparkle {
    int32_t cell = -1;
    int32_t countdown = -1;
};

// The playfield: a grid of hue and kind bytes with a two-cell wall border, kept twice. Pouring and
// gravity edit the back pair, diffusion writes the front pair from it, carving empties front cells,
// and rendering draws the front pair and then swaps the roles of the pairs.
class SandField : public Drawable {
public:
    static constexpr int32_t kVisibleWidth = 96;
    static constexpr int32_t kVisibleHeight = 144;
    static constexpr int32_t kBorder = 2;
    static constexpr int32_t kSparkleSlots = 32;
    static constexpr int32_t kArmedCountdown = 16;

    SandField() = default;
    ~SandField() override = default;

    // Storage and reset.
    bool allocate();
    void clear();
    void reset();
    void release();

    // The steps of one frame, in the order the game runs them.
    bool pour();
    void gravityStep();
    void diffuse();
    void carve();
    // One frame of the field: the pour moves to the pending cell, then pouring (while a pour runs),
    // gravity, diffusion and carving, in that order. Rendering then flips the pairs.
    void advance();

    // The tile palette from `hueWeights`.
    void buildTiles();

    // Drawing: the field's origin takes the place of the Drawable position.
    void setPosition(int32_t newX, int32_t newY) override { setOrigin(newX, newY); }
    void draw() override { render(); }
    void setOrigin(int32_t newX, int32_t newY);
    int32_t render();
    // Whether the field's 4 * width by 4 * height pixels lie inside the current frame target, with
    // `rowOffset` computed for it; rendering draws nothing otherwise, as it would write outside.
    bool fitsFrameTarget() const;

    int32_t originX() const { return x; }
    int32_t originY() const { return y; }
    int32_t stride() const { return width + 2 * kBorder; }
    int32_t gridIndex(int32_t visibleX, int32_t visibleY) const {
        return (visibleY + kBorder) * stride() + visibleX + kBorder;
    }
    uint8_t* backHue() const { return hue[1 - front].get(); }
    uint8_t* backKind() const { return kind[1 - front].get(); }
    uint8_t* frontHue() const { return hue[front].get(); }
    uint8_t* frontKind() const { return kind[front].get(); }
    // The per-frame steps and clear do nothing on a field without all four planes.
    bool hasPlanes() const { return hue[0] && hue[1] && kind[0] && kind[1]; }

    // How planes are obtained: nothrow new, replaceable so that tests can refuse a request.
    using PlaneAllocator = std::unique_ptr<uint8_t[]> (*)(std::size_t bytes);
    static PlaneAllocator planeAllocator;

    int32_t width = 0;
    int32_t height = 0;
    int32_t cellCount = 0;
    std::array<std::unique_ptr<uint8_t[]>, 2> hue;
    std::array<std::unique_ptr<uint8_t[]>, 2> kind;
    int32_t front = 0;
    std::array<int32_t, 4> rowOffset{};
    FieldTiles tiles{};
    HueWeights hueWeights{};
    bool pouring = false;
    int32_t pourX = 0;
    int32_t pourY = 0;
    int32_t pendingX = 0;
    int32_t pendingY = 0;
    int32_t pourLimit = 0;
    int32_t pourCount = 0;
    int32_t pourHue = 0;
    int32_t diffusePeriod = 0;
    int32_t diffuseCounter = 0;
    std::array<Sparkle, kSparkleSlots> sparkles{};
    int32_t liveSparkles = 0;
};

}  // namespace qv
