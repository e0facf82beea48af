#include "app/window.h"

#include <memory>

#include "app/desktop_facts.h"

namespace qv {

namespace {

int windowPosition(int32_t position) {
    return position == WindowSpec::kDefaultPosition ? static_cast<int>(SDL_WINDOWPOS_UNDEFINED) : position;
}

bool iconIsWellFormed(const IconImage& icon) {
    constexpr int32_t kMaxSide = 1024;
    return icon.width > 0 && icon.height > 0 && icon.width <= kMaxSide && icon.height <= kMaxSide &&
           icon.rgba.size() == static_cast<std::size_t>(icon.width) * static_cast<std::size_t>(icon.height) * 4;
}

// A malformed picture is left out: the window then has the system's default icon.
void setIcon(SDL_Window* window, const IconImage& icon) {
    if (!iconIsWellFormed(icon)) {
        return;
    }
    // SDL only reads the pixels while the icon is set, so the surface may borrow them.
    auto* pixels = const_cast<uint8_t*>(icon.rgba.data());
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> surface(
        SDL_CreateRGBSurfaceWithFormatFrom(pixels, icon.width, icon.height, 32, icon.width * 4, SDL_PIXELFORMAT_RGBA32),
        SDL_FreeSurface);
    if (surface) {
        SDL_SetWindowIcon(window, surface.get());
    }
}

// Without leave to use high resolution, SDL's Wayland driver hands the compositor buffers of the
// window's size, and on an output of scale s the compositor enlarges them itself, blurred. With it,
// the window keeps its size in the desktop's units while its renderer's output gets s times the
// pixels each way, which the presenter fills by nearest neighbour. SDL's X11 driver has no such mode,
// and there the window stays as it always was.
Uint32 windowFlags(bool fullscreen) {
    return SDL_WINDOW_HIDDEN | (onWaylandDriver() ? SDL_WINDOW_ALLOW_HIGHDPI : 0) |
           (fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

}  // namespace

SDL_Window* createWindow(const WindowSpec& windowSpec, int32_t scale, const std::string& title, const IconImage& icon,
                         bool fullscreen) {
    constexpr int32_t kMaxSide = 16384;
    if (windowSpec.clientWidth <= 0 || windowSpec.clientHeight <= 0 || windowSpec.clientWidth > kMaxSide ||
        windowSpec.clientHeight > kMaxSide || scale < 1 || scale > kMaxSide / windowSpec.clientWidth ||
        scale > kMaxSide / windowSpec.clientHeight) {
        SDL_SetError("a client area of %d x %d pixels at scale %d is impossible",
                     static_cast<int>(windowSpec.clientWidth), static_cast<int>(windowSpec.clientHeight),
                     static_cast<int>(scale));
        return nullptr;
    }
    // Without SDL_WINDOW_RESIZABLE the window system is told the size is fixed; SDL sizes the
    // client area, so the frame and caption come on top.
    SDL_Window* window = SDL_CreateWindow(title.c_str(), windowPosition(windowSpec.x), windowPosition(windowSpec.y),
                                          windowSpec.clientWidth * scale, windowSpec.clientHeight * scale,
                                          windowFlags(fullscreen));
    if (window != nullptr) {
        setIcon(window, icon);
    }
    return window;
}

SDL_Cursor* useArrowCursor() {
    SDL_Cursor* cursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    if (cursor != nullptr) {
        SDL_SetCursor(cursor);
    }
    return cursor;
}

}  // namespace qv
