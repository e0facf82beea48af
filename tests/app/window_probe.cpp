// A bare application window for checking what the window system sees: it runs until it is told to
// quit (SIGTERM or a closed window) and then exits with the loop's code. On its first frame it makes
// one request that the X server refuses, as can happen while windows go away: the probe must live on.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <cstring>

#include "app/core_app.h"

namespace {

void requestRefusedByTheServer(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window != nullptr && SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11) {
        constexpr XID kNoSuchWindow = 0x1fffffff;
        XDestroyWindow(info.info.x11.display, kNoSuchWindow);  // BadWindow
        XSync(info.info.x11.display, False);
    }
}

}  // namespace

struct WindowProbe : qv::CoreApp {
    int onInit() override {
        std::strcpy(className.data(), "QV-WINDOW-PROBE");
        std::strcpy(title.data(), "Quorvantile window probe");
        windowSpec.clientWidth = 448;
        windowSpec.clientHeight = 640;
        return createBackBuffer(448, 640, 0);
    }
    int onFrame() override {
        if (!refusedRequestMade_) {
            refusedRequestMade_ = true;
            requestRefusedByTheServer(window);
        }
        return 1;
    }

private:
    bool refusedRequestMade_ = false;
};

int main() { return WindowProbe().run(""); }
