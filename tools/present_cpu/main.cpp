// Measures what the shell costs while a game runs: an application with the game's window, back
// buffer and 17 ms frame interval changes every pixel of the back buffer each frame and has it
// presented, for 10 seconds. Prints the processor time used as a share of one core.
//
//   xvfb-run -a build/release/tools/present_cpu/present-cpu [seconds]
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    if (seconds <= 0 || seconds > 3600) {
        std::fprintf(stderr, "present-cpu: the duration must be 1 to 3600 seconds\n");
        return 2;
    }
    PresentingApp app(static_cast<uint32_t>(seconds * 1000));
    const int code = app.run("");
    if (code == 0) {
        app.report();
    }
    return code;
}
