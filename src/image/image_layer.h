#pragma once

#include <cstdint>

#include "image/bmp_image.h"
#include "image/drawable.h"

namespace qv {

// A picture drawn into the frame target: a window of its image copied row by row, unchanged, to
// the layer's position.
class ImageLayer : public Drawable {
public:
    ImageLayer() = default;
    ~ImageLayer() override { image.clear(); }

    // Copies the source window to (x, y) of the frame target. Draws nothing when the image has no
    // pixels or the window or its destination would leave the image or the frame target.
    void draw() override;
    // Empties the image and loads `fileName` into it; the result of the load.
    int reload(const char* fileName);
    // Selects the window whose top-left pixel is picture pixel (sourceX, sourceY). Call it again
    // whenever the image changes size: it works from the image's current size.
    void setSource(int32_t sourceX, int32_t sourceY, int32_t width, int32_t height);
    // Whether `draw` copies its whole window: an image with pixels, a window inside it and a
    // destination inside the frame target.
    bool drawsWholeWindow() const;
    // The first byte of pixel (column, row) of the window, counted from its top-left corner; only
    // for a layer that draws its whole window.
    const uint8_t* windowPixel(int32_t column, int32_t row) const {
        return image.view().pixelAt(sourceX + column, sourceY + row);
    }

    BmpImage image;
    int32_t sourceOffset = 0;  // first byte of the window's top row within the image's pixels
    int32_t sourceWidth = 0;
    int32_t sourceHeight = 0;

private:
    bool windowInsideImage() const;
    bool destinationInsideTarget() const;

    // The window's corner as given, kept to check the window against the image before drawing.
    int32_t sourceX = 0;
    int32_t sourceY = 0;
};

}  // namespace qv
