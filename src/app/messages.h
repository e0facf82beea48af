#pragma once

#include <cstdint>

namespace qv {

// The messages the shell routes to the application, numbered as the game has always numbered them.
inline constexpr uint32_t kDestroyMessage = 0x0002;
inline constexpr uint32_t kPaintMessage = 0x000F;
inline constexpr uint32_t kQuitMessage = 0x0012;
inline constexpr uint32_t kMouseMoveMessage = 0x0200;
inline constexpr uint32_t kLeftButtonDownMessage = 0x0201;
inline constexpr uint32_t kLeftButtonUpMessage = 0x0202;
inline constexpr uint32_t kLeftButtonDoubleClickMessage = 0x0203;
inline constexpr uint32_t kRightButtonDownMessage = 0x0204;
inline constexpr uint32_t kRightButtonUpMessage = 0x0205;
inline constexpr uint32_t kRightButtonDoubleClickMessage = 0x0206;

inline constexpr bool isMouseMessage(uint32_t message) {
    return message >= kMouseMoveMessage && message <= kRightButtonDoubleClickMessage;
}

// A mouse position travels as one word: x in the low 16 bits, y in the high 16 bits.
inline constexpr int64_t packPosition(int32_t x, int32_t y) {
    return static_cast<int64_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) | static_cast<uint32_t>(x & 0xFFFF));
}

}  // namespace qv
