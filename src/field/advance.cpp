#include "field/sand_field.h"

namespace qv {

void SandField::advance() {
    // The pour and the cursor follow the mouse from frame to frame.
    pourX = pendingX;
    pourY = pendingY;
    if (pouring) {
        pouring = pour();
    }
    gravityStep();
    diffuse();
    carve();
}

}  // namespace qv
