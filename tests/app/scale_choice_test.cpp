#include <gtest/gtest.h>

#include "app/scale_choice.h"

namespace qv {
namespace {

// The first scale the desktop names (GDK_SCALE, else Xft.dpi / 96 rounded down), never above 8;
// then lowered until the 448 x 640 window fits the usable area (unknown when 0 x 0), never below 1.
TEST(DesktopWindowScale, FollowsTheDesktopAndIsLoweredUntilTheWindowFits) {
    const struct {
        const char* gdkScale;  // nullptr: unset
        double xftDpi;         // 0: unset
        int32_t usableWidth, usableHeight;
        int32_t scale;
    } cases[] = {
        {nullptr, 0, 3840, 2100, 1},  {"2", 0, 3840, 2100, 2},      {"3", 96, 3840, 2100, 3},
        {"x", 192, 3840, 2100, 2},    {"0", 0, 3840, 2100, 1},      {"-2", 0, 3840, 2100, 1},
        {"", 0, 3840, 2100, 1},       {nullptr, 191.9, 3840, 2100, 1}, {nullptr, 288, 3840, 2100, 3},
        {nullptr, 72, 3840, 2100, 1}, {"4", 0, 3840, 2100, 3},      {"2", 0, 1920, 1050, 1},
        {"2", 0, 1920, 1280, 2},      {"2", 0, 895, 1280, 1},       {"2", 0, 1000, 1400, 2},
        {"8", 0, 100, 100, 1},        {"8", 0, 0, 0, 8},            {"12", 0, 0, 0, 8},
        {"8", 0, 7680, 4320, 6},      {"99999999999", 0, 7680, 4320, 1},
    };
    for (const auto& c : cases) {
        DesktopFacts facts;
        if (c.gdkScale) facts.gdkScale = c.gdkScale;
        if (c.xftDpi != 0) facts.xftDpi = c.xftDpi;
        facts.usableWidth = c.usableWidth;
        facts.usableHeight = c.usableHeight;
        EXPECT_EQ(desktopWindowScale(facts, 448, 640), c.scale)
            << "GDK_SCALE=" << (c.gdkScale ? c.gdkScale : "(unset)") << ", Xft.dpi " << c.xftDpi << " on "
            << c.usableWidth << " x " << c.usableHeight;
    }
    // Under Wayland the compositor enlarges by the output's scale, and GDK_SCALE names only that.
    DesktopFacts wayland;
    wayland.gdkScale = "2";
    wayland.compositorScales = true;
    EXPECT_EQ(desktopWindowScale(wayland, 448, 640), 1);
}

// A scale the player asked for that makes the window larger than the room there is: the window's
// size, the room, and the largest scale that fits; nothing when it fits or the room is unknown.
TEST(OversizeNotice, NamesTheSizeTheRoomAndTheScaleThatFits) {
    const struct {
        int32_t scale, usableWidth, usableHeight;
        const char* notice;  // nullptr: none
    } cases[] = {
        {3, 1280, 1400,
         "at --scale 3 the window is 1344 x 1920 pixels, larger than the screen's 1280 x 1400 pixels of room; "
         "--scale 2 fits"},
        {8, 3840, 2160, "at --scale 8 the window is 3584 x 5120 pixels, larger than the screen's 3840 x 2160 pixels of "
                        "room; --scale 3 fits"},
        {1, 400, 300, "at --scale 1 the window is 448 x 640 pixels, larger than the screen's 400 x 300 pixels of "
                      "room; not even --scale 1 fits"},
        {2, 896, 1280, nullptr},
        {8, 0, 0, nullptr},
    };
    for (const auto& c : cases) {
        DesktopFacts facts;
        facts.usableWidth = c.usableWidth;
        facts.usableHeight = c.usableHeight;
        const std::optional<std::string> notice = oversizeNotice(facts, 448, 640, c.scale);
        EXPECT_EQ(notice, c.notice ? std::optional<std::string>(c.notice) : std::nullopt)
            << "--scale " << c.scale << " on " << c.usableWidth << " x " << c.usableHeight;
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

}  // namespace
}  // namespace qv
