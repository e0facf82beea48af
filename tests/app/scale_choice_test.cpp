#include <gtest/gtest.h>

#include "app/scale_choice.h"

namespace qv {
namespace {

constexpr int32_t kWidth = 448;
constexpr int32_t kHeight = 640;

// A 4K screen's usable area, below a panel.
DesktopFacts roomy() {
    DesktopFacts facts;
    facts.usableWidth = 3840;
    facts.usableHeight = 2100;
    return facts;
}

// The desktop's own scale, as the desktop names it, as long as the window fits.
TEST(DesktopWindowScale, FollowsTheFirstScaleTheDesktopNames) {
    const auto with = [](auto change) {
        DesktopFacts facts = roomy();
        change(facts);
        return desktopWindowScale(facts, kWidth, kHeight);
    };
    EXPECT_EQ(with([](DesktopFacts&) {}), 1);
    EXPECT_EQ(with([](DesktopFacts& f) { f.gdkScale = "2"; }), 2);
    EXPECT_EQ(with([](DesktopFacts& f) { f.gdkScale = "3"; f.xftDpi = 96.0; }), 3);
    EXPECT_EQ(with([](DesktopFacts& f) { f.gdkScale = "x"; f.xftDpi = 192.0; }), 2) << "a bad GDK_SCALE is no scale";
    EXPECT_EQ(with([](DesktopFacts& f) { f.gdkScale = "0"; }), 1);
    EXPECT_EQ(with([](DesktopFacts& f) { f.gdkScale = "-2"; }), 1);
    EXPECT_EQ(with([](DesktopFacts& f) { f.gdkScale = ""; }), 1);
    EXPECT_EQ(with([](DesktopFacts& f) { f.xftDpi = 191.9; }), 1) << "Xft.dpi / 96 rounds down";
    EXPECT_EQ(with([](DesktopFacts& f) { f.xftDpi = 288.0; }), 3);
    EXPECT_EQ(with([](DesktopFacts& f) { f.xftDpi = 72.0; }), 1);
    EXPECT_EQ(with([](DesktopFacts& f) { f.gdkScale = "2"; f.compositorScales = true; }), 1)
        << "under Wayland the compositor enlarges by the output's scale, and GDK_SCALE names only that";
}

// The window is made smaller rather than larger than the screen, never smaller than 1, and never
// larger than 8 whatever the desktop says.
TEST(DesktopWindowScale, IsLoweredUntilTheWindowFits) {
    const struct {
        const char* gdkScale;
        int32_t usableWidth, usableHeight;
        int32_t scale;
    } cases[] = {
        {"3", 3840, 2100, 3},  {"4", 3840, 2100, 3},   {"2", 1920, 1050, 1}, {"2", 1920, 1280, 2},
        {"2", 895, 1280, 1},   {"2", 1000, 1400, 2},   {"8", 100, 100, 1},   {"8", 0, 0, 8},
        {"12", 0, 0, 8},       {"8", 7680, 4320, 6},   {"99999999999", 7680, 4320, 1},
    };
    for (const auto& c : cases) {
        DesktopFacts facts;
        facts.gdkScale = c.gdkScale;
        facts.usableWidth = c.usableWidth;
        facts.usableHeight = c.usableHeight;
        EXPECT_EQ(desktopWindowScale(facts, kWidth, kHeight), c.scale)
            << "GDK_SCALE=" << c.gdkScale << " on " << c.usableWidth << " x " << c.usableHeight;
    }
}

TEST(XftDpi, IsReadFromTheResourceDatabase) {
    EXPECT_EQ(xftDpiIn("Xft.dpi:\t192\n"), 192.0);
    EXPECT_EQ(xftDpiIn("Xcursor.size:\t48\nXft.antialias:\t1\nXft.dpi:\t144.5\nXft.hinting:\t1\n"), 144.5);
    EXPECT_EQ(xftDpiIn("Xft.dpi: 120"), 120.0);
    EXPECT_EQ(xftDpiIn(""), std::nullopt);
    EXPECT_EQ(xftDpiIn("Xcursor.size:\t48\n"), std::nullopt);
    EXPECT_EQ(xftDpiIn("MyXft.dpi:\t192\n"), std::nullopt);
    EXPECT_EQ(xftDpiIn("Xft.dpi:\tlarge\n"), std::nullopt);
    EXPECT_EQ(xftDpiIn("Xft.dpi:\t-96\n"), std::nullopt);
    EXPECT_EQ(xftDpiIn("Xft.dpi:\t\n"), std::nullopt);
}

TEST(UnscaledCoordinate, RoundsDownAlsoLeftOfTheWindow) {
    const struct {
        int32_t window, scale, client;
    } cases[] = {{0, 2, 0}, {1, 2, 0}, {2, 2, 1}, {895, 2, 447}, {-1, 2, -1}, {-2, 2, -1}, {-3, 2, -2},
                 {8, 3, 2}, {9, 3, 3}, {-1, 1, -1}, {32767, 8, 4095}, {-32768, 8, -4096}};
    for (const auto& c : cases) {
        EXPECT_EQ(unscaledCoordinate(c.window, c.scale), c.client) << c.window << " / " << c.scale;
    }
}

}  // namespace
}  // namespace qv
