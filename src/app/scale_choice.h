#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qv {

// What the desktop says about its scale, and the room it offers a window.
struct DesktopFacts {
    std::optional<std::string_view> gdkScale;  // the GDK_SCALE environment variable, when set
    std::optional<double> xftDpi;              // the X resource Xft.dpi, when set
    int32_t usableWidth = 0;                   // the display's usable area; 0 when unknown
    int32_t usableHeight = 0;
    // Under Wayland the compositor shows the window at its output's scale by itself, and GDK_SCALE
    // there only names that output scale (GTK draws finer, not larger).
    bool compositorScales = false;
};

// The largest whole window scale there is.
inline constexpr int32_t kLargestWindowScale = 8;

// The window scale a player gets without asking for one: the first scale the desktop names (GDK_SCALE,
// then Xft.dpi / 96 rounded down), 1 when it names none or when the compositor scales, and then
// lowered until a client area of clientWidth x clientHeight times the scale fits the usable area.
int32_t desktopWindowScale(const DesktopFacts& desktop, int32_t clientWidth, int32_t clientHeight);

// The value of Xft.dpi in an X resource database as text ("Xft.dpi:\t192\n..."); none when it is
// missing or not a positive number.
std::optional<double> xftDpiIn(std::string_view resources);

// Floor division of a window coordinate by the scale, so that a position left of or above the
// window stays left of or above it.
inline int32_t unscaledCoordinate(int32_t windowCoordinate, int32_t scale) {
    const int32_t quotient = windowCoordinate / scale;
    return (windowCoordinate % scale != 0 && windowCoordinate < 0) ? quotient - 1 : quotient;
}

}  // namespace qv
