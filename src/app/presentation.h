#pragma once

#include <SDL.h>

#include <cstdint>
#include <span>
#include <vector>

#include "app/back_buffer.h"
#include "app/changed_rows.h"
#include "app/picture_fit.h"

namespace qv {

// The window pixels that presenting writes: a window surface or a locked texture.
struct PixelDestination {
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    int32_t width = 0;
    int32_t height = 0;
    const SDL_PixelFormat* format = nullptr;
};

// Turns `count` back-buffer pixels (blue, green, red bytes) into `count` pixels of `format`; the
// usual 32-bit layout with the fastest widening this processor runs.
void convertBackBufferRow(const uint8_t* source, uint8_t* destination, int32_t count, const SDL_PixelFormat& format);

// Copies `picture`, starting at its (srcX, srcY), into `destination` at (0, 0), every picture pixel
// as a block of scale x scale window pixels. Window pixels with no picture pixel to show are left
// as they are.
void copyPicture(const BackBuffer& picture, const PixelDestination& destination, int32_t scale);

// copyPicture of the picture rows `pictureRows` alone (counted from the picture's top, top to
// bottom, not overlapping). Returns the window rectangles written, bottom first.
std::vector<SDL_Rect> copyPictureRows(const BackBuffer& picture, const PixelDestination& destination, int32_t scale,
                                      std::span<const RowSpan> pictureRows);

// The part of `destination` that shows the client area of `client` at `fit`: from the fit's corner,
// the client area's size at the fit's scale, cut where the destination ends.
PixelDestination fittedRegion(const PixelDestination& destination, const PictureFit& fit, PixelSize client);

// A surface's pixels as a destination of the copy.
PixelDestination surfacePixels(SDL_Surface& surface);

}  // namespace qv
