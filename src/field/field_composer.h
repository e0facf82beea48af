#pragma once

#include <cstdint>
#include <vector>

#include "field/tile_palette.h"

namespace qv {

class ImageLayer;
class SandField;

// Composes the field over its background picture in the frame target with the same bytes as the
// background's `draw` followed by the field's `render`, but rewrites only the tiles whose look
// changed since it last drew them: a tile shows either its bead's pre-computed picture or the
// background beneath it, so a tile whose kind and hue are unchanged still shows the right pixels,
// unless someone else wrote there in between; they say so with `markWritten` or `forgetAll` (also
// after changing the background picture's pixels in place).
class FieldComposer {
public:
    // Draws what changed and flips the field's pairs, as `render` does. When the background does not
    // cover exactly the field's rectangle it draws both whole, so the result is the same in any case.
    void compose(SandField& field, ImageLayer& background);
    // Pixels of the field's rectangle were overwritten by something else: the tiles under the
    // rectangle (pixel coordinates of the frame target) are drawn afresh by the next `compose`.
    void markWritten(int32_t left, int32_t top, int32_t width, int32_t height);
    // The whole frame target was overwritten: the next `compose` draws every tile.
    void forgetAll() { settled_ = false; }
    // Per row of tiles, top to bottom: 1 where the last `compose` drew a tile, so that presenting
    // can leave the other rows alone. Every row after drawing everything.
    const std::vector<uint8_t>& tileRowsDrawn() const { return tileRowsDrawn_; }

private:
    // Everything that decides which bytes a tile's picture holds, apart from the tile's own cell.
    struct Setting {
        uint8_t* pixels = nullptr;
        int32_t stride = 0;
        int32_t targetHeight = 0;
        int32_t originX = 0;
        int32_t originY = 0;
        int32_t width = 0;
        int32_t height = 0;
        HueWeights hueWeights{};
        const uint8_t* backgroundPixels = nullptr;
        int32_t backgroundOffset = 0;
        int32_t backgroundRowBytes = 0;
        bool operator==(const Setting&) const = default;
    };

    static bool backgroundCoversField(const SandField& field, const ImageLayer& background);
    static Setting settingOf(const SandField& field, const ImageLayer& background);
    void startAfresh(const SandField& field, const ImageLayer& background, const Setting& setting);
    // True when the row drew a tile.
    bool composeRow(const SandField& field, int32_t row);

    bool settled_ = false;
    Setting setting_;
    // Per visible cell, row by row: the kind and hue bytes it held when last drawn, and whether the
    // tile must be drawn again whatever its cell holds.
    std::vector<uint8_t> shownKind_;
    std::vector<uint8_t> shownHue_;
    std::vector<uint8_t> overwritten_;
    // The background picture under every tile, tile by tile, four rows of 12 bytes each.
    std::vector<uint8_t> backgroundTiles_;
    std::vector<uint8_t> tileRowsDrawn_;
};

}  // namespace qv
