#include "app/picture_fit.h"

#include <algorithm>

namespace qv {

namespace {

// Floor division: a point one pixel left of the picture is in the client column before 0, not in 0.
int64_t floorDivide(int64_t numerator, int64_t denominator) {
    const int64_t quotient = numerator / denominator;
    return (numerator % denominator != 0 && (numerator < 0) != (denominator < 0)) ? quotient - 1 : quotient;
}

int32_t centredStart(int32_t outputSize, int64_t pictureSize) {
    return static_cast<int32_t>(std::max<int64_t>(0, (outputSize - pictureSize) / 2));
}

// Window units to output pixels; the same when the window has no size to compare with.
int64_t outputCoordinate(int32_t windowCoordinate, int32_t windowSize, int32_t outputSize) {
    if (windowSize <= 0 || outputSize <= 0 || windowSize == outputSize) {
        return windowCoordinate;
    }
    return floorDivide(int64_t{windowCoordinate} * outputSize, windowSize);
}

int32_t clientCoordinate(int64_t outputCoordinate, int32_t start, int32_t scale) {
    const int64_t client = floorDivide(outputCoordinate - start, std::max(scale, 1));
    return static_cast<int32_t>(std::clamp<int64_t>(client, INT32_MIN, INT32_MAX));
}

}  // namespace

PictureFit fitPicture(int32_t outputWidth, int32_t outputHeight, int32_t clientWidth, int32_t clientHeight) {
    if (clientWidth <= 0 || clientHeight <= 0) {
        return {};
    }
    const int32_t scale = std::max(1, std::min(outputWidth / clientWidth, outputHeight / clientHeight));
    return {scale, centredStart(outputWidth, int64_t{clientWidth} * scale),
            centredStart(outputHeight, int64_t{clientHeight} * scale)};
}

ClientPoint clientPointOf(const PointMapping& mapping, int32_t x, int32_t y) {
    const PictureFit& fit = mapping.fit;
    return {clientCoordinate(outputCoordinate(x, mapping.windowWidth, mapping.outputWidth), fit.left, fit.scale),
            clientCoordinate(outputCoordinate(y, mapping.windowHeight, mapping.outputHeight), fit.top, fit.scale)};
}

}  // namespace qv
