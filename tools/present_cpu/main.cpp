// Measures what the shell costs while a game runs: an application with the game's window, back
// buffer and 17 ms frame interval changes every pixel of the back buffer each frame and has it
// presented, for 10 seconds. Prints the processor time used as a share of one core. A window scale
// and a presenting path (surface or texture; by default the one the game takes) may be given.
//
//   xvfb-run -a -s '-screen 0 1400x2000x24' build/release/tools/present_cpu/present-cpu [seconds [scale [path]]]
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/boxes.h"
#include "app/core_app.h"
#include "app/messages.h"

namespace {

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

class PresentingApp : public qv::CoreApp {
public:
    explicit PresentingApp(uint32_t milliseconds) : duration_(milliseconds) {}

    int onInit() override {
        std::strcpy(className.data(), "QV-PRESENT-CPU");
        std::strcpy(title.data(), "Quorvantile presentation cost");
        windowSpec.clientWidth = 448;
        windowSpec.clientHeight = 640;
        frameInterval = 17;
        return createBackBuffer(448, 640, 0);
    }

    int onMessage(uint32_t message, uint64_t wParam, int64_t lParam) override {
        return message == qv::kPaintMessage ? onPaint() : dispatchMouse(message, wParam, lParam);
    }

    // The measurement starts with the first frame, so start-up does not count.
    int onFrame() override {
        const uint32_t now = clock();
        if (frames_ == 0) {
            started_ = now;
            startCpu_ = processorSeconds();
        }
        ++frames_;
        // A moving stripe: the picture changes every frame, while the drawing costs next to nothing.
        qv::fillBox(backBuffer, 0, static_cast<int32_t>(frames_ % 640), backBuffer.width, 1, 0x010203u * (frames_ & 0x3F));
        invalidate();
        elapsed_ = now - started_;
        return elapsed_ < duration_ ? 1 : 0;
    }

    void report() const {
        const double wall = elapsed_ / 1000.0;
        const double cpu = processorSeconds() - startCpu_;
        std::printf("frames %u in %.2f s (%.1f a second); processor time %.3f s = %.2f %% of one core\n", frames_, wall,
                    frames_ / wall, cpu, wall > 0 ? 100.0 * cpu / wall : 0.0);
    }

private:
    uint32_t duration_;
    uint32_t frames_ = 0;
    uint32_t started_ = 0;
    uint32_t elapsed_ = 0;
    double startCpu_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const long seconds = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10;
    const long scale = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1;
    const std::string path = argc > 3 ? argv[3] : "automatic";
    if (seconds <= 0 || seconds > 3600 || scale < 1 || scale > 8 ||
        (path != "automatic" && path != "surface" && path != "texture")) {
        std::fprintf(stderr, "usage: present-cpu [SECONDS 1..3600 [SCALE 1..8 [automatic|surface|texture]]]\n");
        return 2;
    }
    PresentingApp app(static_cast<uint32_t>(seconds * 1000));
    app.requestedScale = static_cast<int32_t>(scale);
    app.presentingPath = path == "surface"   ? qv::PresentingPath::windowSurface
                         : path == "texture" ? qv::PresentingPath::texture
                                             : qv::PresentingPath::automatic;
    const int code = app.run("");
    if (code == 0) {
        app.report();
    }
    return code;
}
