#include "image/drawable.h"

#include "image/frame_target.h"

namespace qv {

FrameTarget frameTarget;

Drawable::Drawable() { frameTarget = FrameTarget{}; }

void Drawable::setPosition(int32_t newX, int32_t newY) {
    x = newX;
    y = newY;
}

}  // namespace qv
