#pragma once

#include <cstdint>

namespace qv {

// Something that draws itself straight into the process-wide frame target.
class Drawable {
public:
    // Starts at (0, 0) and empties the frame target: every Drawable is made before the game
    // publishes the back buffer.
    Drawable();
    virtual ~Drawable() = default;
    Drawable(const Drawable&) = delete;
    Drawable& operator=(const Drawable&) = delete;

    virtual void setPosition(int32_t newX, int32_t newY);
    virtual void draw() = 0;

    int32_t x = 0;  // pixel position in the frame target, y counted from the top
    int32_t y = 0;
};

}  // namespace qv
