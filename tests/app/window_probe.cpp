// A bare application window for checking what the window system sees: it runs until it is told to
// quit (SIGTERM or a closed window) and then exits with the loop's code.
#include <cstring>

#include "app/core_app.h"

struct WindowProbe : qv::CoreApp {
    int onInit() override {
        std::strcpy(className.data(), "QV-WINDOW-PROBE");
        std::strcpy(title.data(), "Quorvantile window probe");
        windowSpec.clientWidth = 448;
        windowSpec.clientHeight = 640;
        return createBackBuffer(448, 640, 0);
    }
};

int main() { return WindowProbe().run(""); }
