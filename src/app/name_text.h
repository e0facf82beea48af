#pragma once

#include <array>
#include <cstring>
#include <string>

namespace qv {

// The text of a fixed-size name array, which may be filled to the last byte without a terminating zero.
inline std::string nameText(const std::array<char, 32>& chars) {
    return std::string(chars.data(), strnlen(chars.data(), chars.size()));
}

}  // namespace qv
