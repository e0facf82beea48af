#include <cstring>
#include <new>

#include "field/sand_field.h"

namespace qv {

namespace {

std::unique_ptr<uint8_t[]> allocateWithNothrowNew(std::size_t bytes) {
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[bytes]);
}

constexpr int32_t kDefaultPourLimit = 100;
constexpr int32_t kDefaultDiffusePeriod = 2;

}  // namespace

SandField::PlaneAllocator SandField::planeAllocator = allocateWithNothrowNew;

bool SandField::allocate() {
    release();
    width = kVisibleWidth;
    height = kVisibleHeight;
    cellCount = (width + 2 * kBorder) * (height + 2 * kBorder);
    const auto bytes = static_cast<std::size_t>(cellCount);
    // Every plane is requested before any is checked, so one refusal does not hide the others.
    hue[0] = planeAllocator(bytes);
    hue[1] = planeAllocator(bytes);
    kind[0] = planeAllocator(bytes);
    kind[1] = planeAllocator(bytes);
    return hasPlanes();
}

void SandField::clear() {
    if (!hasPlanes()) {
        return;
    }
    const auto bytes = static_cast<std::size_t>(cellCount);
    for (int32_t pair = 0; pair < 2; ++pair) {
        std::memset(hue[pair].get(), 0, bytes);
        std::memset(kind[pair].get(), 0, bytes);
    }
    const int32_t columns = stride();
    const int32_t rows = height + 2 * kBorder;
    for (int32_t pair = 0; pair < 2; ++pair) {
        uint8_t* const cells = kind[pair].get();
        for (int32_t column = 0; column < columns; ++column) {
            for (const int32_t row : {0, 1, rows - 2, rows - 1}) {
                cells[row * columns + column] = kWall;
            }
        }
        for (int32_t row = 0; row < rows; ++row) {
            for (const int32_t column : {0, 1, columns - 2, columns - 1}) {
                cells[row * columns + column] = kWall;
            }
        }
    }
}

void SandField::reset() {
    clear();
    front = 0;
    pourX = 0;
    pourY = 0;
    pendingX = width / 2;
    pendingY = height / 2;
    pouring = false;
    pourCount = 0;
    pourHue = 0;
    diffuseCounter = 0;
    pourLimit = kDefaultPourLimit;
    diffusePeriod = kDefaultDiffusePeriod;
    sparkles.fill(Sparkle{});
    hueWeights = kDefaultHueWeights;
    buildTiles();
}

void SandField::release() {
    width = 0;
    height = 0;
    cellCount = 0;
    for (auto& plane : hue) {
        plane.reset();
    }
    for (auto& plane : kind) {
        plane.reset();
    }
}

}  // namespace qv
