#pragma once

#include <cstdint>
#include <optional>
#include <string>
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

// For a scale the player asked for: when a client area of clientWidth x clientHeight at that scale
// is larger than the usable area, what to say about it (the window's size, the room there is, and
// the largest scale that fits); none when it fits or the room is unknown.
std::optional<std::string> oversizeNotice(const DesktopFacts& desktop, int32_t clientWidth, int32_t clientHeight,
                                          int32_t scale);

// The value of Xft.dpi in an X resource database as text ("Xft.dpi:\t192\n..."); none when it is
// missing or not a positive number.
std::optional<double> xftDpiIn(std::string_view resources);

}  // namespace qv
