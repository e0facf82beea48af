#include "app/desktop_facts.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace qv {

namespace {

bool driverIs(const char* name) {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && SDL_strcmp(driver, name) == 0;
}

// Desktops publish their font resolution, and with it their scale, in the root window's resource
// database; SDL does not pass it on, so it is read on a short connection of our own.
std::optional<double> xftDpiOfDisplay() {
    std::unique_ptr<Display, decltype(&XCloseDisplay)> display(XOpenDisplay(nullptr), XCloseDisplay);
    if (!display) {
        return std::nullopt;
    }
    const char* resources = XResourceManagerString(display.get());
    return resources != nullptr ? xftDpiIn(resources) : std::nullopt;
}

}  // namespace

DesktopFacts readDesktopFacts() {
    DesktopFacts facts;
    if (const char* gdkScale = std::getenv("GDK_SCALE")) {
        facts.gdkScale = std::string_view(gdkScale);
    }
    if (driverIs("x11")) {
        facts.xftDpi = xftDpiOfDisplay();
    }
    // The Wayland output scale s is no part of the window scale: the window asks for buffers of
    // the output's resolution (see createWindow), its size stays in the desktop's units, and the
    // compositor shows every unit as s x s physical pixels, so each back-buffer pixel becomes a crisp
    // block of (scale * s) x (scale * s). Adding s, or GDK_SCALE, which there names s, would enlarge
    // twice.
    facts.compositorScales = onWaylandDriver();
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        facts.usableWidth = usable.w;
        facts.usableHeight = usable.h;
    }
    return facts;
}

bool onWaylandDriver() {
    return driverIs("wayland");
}

}  // namespace qv
