#include "app/scale_choice.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace qv {

namespace {

constexpr double kBaseDpi = 96.0;

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// A whole scale of 1 or more; GDK also takes nothing else.
std::optional<int32_t> gdkScaleValue(std::string_view text) {
    text = trimmed(text);
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1) {
        return std::nullopt;
    }
    return value;
}

std::optional<int32_t> namedScale(const DesktopFacts& desktop) {
    if (desktop.compositorScales) {
        return std::nullopt;  // a scale on top of the compositor's would enlarge twice
    }
    if (desktop.gdkScale) {
        if (const auto scale = gdkScaleValue(*desktop.gdkScale)) {
            return scale;
        }
    }
    if (desktop.xftDpi && *desktop.xftDpi >= kBaseDpi) {
        return static_cast<int32_t>(std::min(std::floor(*desktop.xftDpi / kBaseDpi), double{kLargestWindowScale}));
    }
    return std::nullopt;
}

bool fits(const DesktopFacts& desktop, int64_t width, int64_t height) {
    const bool roomKnown = desktop.usableWidth > 0 && desktop.usableHeight > 0;
    return !roomKnown || (width <= desktop.usableWidth && height <= desktop.usableHeight);
}

// The largest scale from `scale` down that fits; 0 when not even 1 does.
int32_t largestFittingScale(const DesktopFacts& desktop, int32_t clientWidth, int32_t clientHeight, int32_t scale) {
    while (scale >= 1 && !fits(desktop, int64_t{clientWidth} * scale, int64_t{clientHeight} * scale)) {
        --scale;
    }
    return scale;
}

}  // namespace

int32_t desktopWindowScale(const DesktopFacts& desktop, int32_t clientWidth, int32_t clientHeight) {
    const int32_t named = std::clamp(namedScale(desktop).value_or(1), 1, kLargestWindowScale);
    return std::max(1, largestFittingScale(desktop, clientWidth, clientHeight, named));
}

std::optional<std::string> oversizeNotice(const DesktopFacts& desktop, int32_t clientWidth, int32_t clientHeight,
                                          int32_t scale) {
    const int64_t width = int64_t{clientWidth} * scale;
    const int64_t height = int64_t{clientHeight} * scale;
    if (fits(desktop, width, height)) {
        return std::nullopt;
    }
    const int32_t fitting = largestFittingScale(desktop, clientWidth, clientHeight, scale);
    return "at --scale " + std::to_string(scale) + " the window is " + std::to_string(width) + " x " +
           std::to_string(height) + " pixels, larger than the screen's " +
           std::to_string(desktop.usableWidth) + " x " + std::to_string(desktop.usableHeight) + " pixels of room; " +
           (fitting >= 1 ? "--scale " + std::to_string(fitting) + " fits" : "not even --scale 1 fits");
}

std::optional<double> xftDpiIn(std::string_view resources) {
    constexpr std::string_view kName = "Xft.dpi:";
    while (!resources.empty()) {
        const auto lineEnd = resources.find('\n');
        const std::string_view line = resources.substr(0, lineEnd);
        resources = lineEnd == std::string_view::npos ? std::string_view{} : resources.substr(lineEnd + 1);
        if (!line.starts_with(kName)) {
            continue;
        }
        const std::string_view value = trimmed(line.substr(kName.size()));
        double dpi = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), dpi);
        if (error == std::errc() && end == value.data() + value.size() && dpi > 0 && std::isfinite(dpi)) {
            return dpi;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace qv
