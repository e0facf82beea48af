// A bare application window for checking what the window system sees: it runs until it is told to
// quit (SIGTERM or a closed window) and then exits with the loop's code.
#include <cstring>

#include "app/core_app.h"
#include "app/messages.h"

namespace {

class WindowProbe : public qv::CoreApp {
public:
    int onInit() override {
        std::strcpy(className.data(), "QV-WINDOW-PROBE");
        std::strcpy(title.data(), "Quorvantile window probe");
        windowSpec.clientWidth = 448;
        windowSpec.clientHeight = 640;
        frameInterval = 17;
        return createBackBuffer(448, 640, 0);
    }
    int onMessage(uint32_t message, uint64_t wParam, int64_t lParam) override {
        return message == qv::kPaintMessage ? onPaint() : dispatchMouse(message, wParam, lParam);
    }
};

}  // namespace

int main() {
    WindowProbe probe;
    return probe.run("");
}
