#pragma once

#include <memory>

#include "field/sand_field.h"

namespace qv::testing {

// Gives a field the game's 96 x 144 size and four empty planes, without the field's own storage
// code, so that drawing can be tested on its own.
inline void giveEmptyPlanes(SandField& field) {
    field.width = SandField::kVisibleWidth;
    field.height = SandField::kVisibleHeight;
    field.cellCount = (field.width + 2 * SandField::kBorder) * (field.height + 2 * SandField::kBorder);
    for (int32_t pair = 0; pair < 2; ++pair) {
        field.hue[pair] = std::make_unique<uint8_t[]>(field.cellCount);
        field.kind[pair] = std::make_unique<uint8_t[]>(field.cellCount);
    }
}

}  // namespace qv::testing
