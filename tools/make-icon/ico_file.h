#pragma once

#include <cstdint>
#include <vector>

namespace qv {

// One picture of an icon file: a square `size` pixels a side, as the bytes of a PNG file.
struct IcoPicture {
    int32_t size = 0;
    std::vector<uint8_t> png;
};

// The bytes of an icon file (.ico) holding `pictures` in that order, each stored as its PNG, which
// every current browser reads; sizes from 1 to 256.
std::vector<uint8_t> packIco(const std::vector<IcoPicture>& pictures);

}  // namespace qv
