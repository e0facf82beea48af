#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/back_buffer.h"
#include "app/changed_rows.h"
#include "app/picture_fit.h"
#include "app/presenting_path.h"
#include "app/run_state.h"
#include "app/shell_command.h"

struct SDL_Window;

namespace qv {

class DrawContext;

// A window picture: width x height pixels, four bytes each in red, green, blue, alpha order.
struct IconImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;
};

// Everything window creation needs. The client area is exactly clientWidth x clientHeight and the
// window cannot be resized.
struct WindowSpec {
    static constexpr int32_t kDefaultPosition = static_cast<int32_t>(0x80000000u);
    int32_t clientHeight = 300;
    int32_t clientWidth = 300;
    int32_t y = kDefaultPosition;
    int32_t x = kDefaultPosition;
    const char* windowName = nullptr;  // points at CoreApp::title
    const char* className = nullptr;   // points at CoreApp::className
};

// The application framework: one object that owns the window, the back buffer and the frame-paced
// main loop, and hands every event to a virtual operation that a derived application overrides.
class CoreApp {
public:
    // Sets the defaults and makes this object the current application. No window, no platform call.
    CoreApp();
    // Releases the back buffer.
    virtual ~CoreApp();
    CoreApp(const CoreApp&) = delete;
    CoreApp& operator=(const CoreApp&) = delete;

    virtual int onInit() { return 1; }
    virtual int onStart(std::string_view /*commandLine*/) { return onInit(); }
    // Start-up holds the lock and the display, and the window is about to open: what only the one
    // running copy may do (take a file over) is done here. 0 stops start-up; say why in startUpError.
    virtual int onBeforeWindow() { return 1; }
    // Whether a replay plays the application now: the player's mouse waits for its end, and the
    // title says so. The shell asks before the window opens and after every frame.
    virtual bool replaying() const { return false; }
    virtual int onExit() { return 1; }
    virtual int onFrame() { return 1; }
    virtual int onIdle() { return 1; }
    // Nonzero when handled. The default handles nothing.
    virtual int onMessage(uint32_t message, uint64_t wParam, int64_t lParam);
    // Draws the overlay into the back buffer and presents the rows of it written since the last
    // paint; the whole back buffer when the window lost what it showed (exposed, a new surface).
    virtual int onPaint();
    virtual void onDraw(DrawContext& /*dc*/) {}
    // The rows of the back buffer written since they were last asked for, top to bottom; only
    // those are copied to the window. By default every row: whatever an application wrote is shown.
    virtual std::vector<RowSpan> takeWrittenRows() { return {RowSpan{0, backBuffer.height}}; }
    virtual void onMouseMove(int32_t /*x*/, int32_t /*y*/) {}
    virtual void onLButtonDown(int32_t /*x*/, int32_t /*y*/) {}
    virtual void onLButtonUp(int32_t /*x*/, int32_t /*y*/) {}
    virtual void onLButtonDblClk(int32_t /*x*/, int32_t /*y*/) {}
    virtual void onRButtonDown(int32_t /*x*/, int32_t /*y*/) {}
    virtual void onRButtonUp(int32_t /*x*/, int32_t /*y*/) {}
    virtual void onRButtonDblClk(int32_t /*x*/, int32_t /*y*/) {}

    // 1 when `message` is a mouse message, which then reaches its mouse operation with the signed
    // 16-bit halves of lParam as x (low) and y (high).
    int dispatchMouse(uint32_t message, uint64_t wParam, int64_t lParam);

    // The process's life: start up, loop until quit, shut down. Returns the exit code: the quit
    // code after a run, 1 when start-up failed.
    int run(std::string_view commandLine);
    bool startUp(std::string_view commandLine);
    int mainLoop();
    void shutDown();

    int createBackBuffer(int32_t width, int32_t height, int32_t sourceOffset) {
        return backBuffer.createBackBuffer(width, height, sourceOffset);
    }
    int releaseBackBuffer() { return backBuffer.releaseBackBuffer(); }
    // Asks for a paint of the whole window, handled after the pending input and before the next frame.
    void invalidate();

    // Paused, no frame runs and the mouse does not reach the application; the window keeps its
    // picture and its title says so. Resuming runs a frame at once, without catching up.
    void setPaused(bool paused);
    bool paused() const { return runState_.paused; }
    // Full screen shows the client area at the largest whole scale that fits the screen, centred on
    // black; leaving it gives the window back at its own size.
    void setFullscreen(bool fullscreen);
    bool fullscreen() const;

    // One line for standard error in the program's voice: "name: saying", the name being
    // `programName`, or the window's name when the application set none.
    std::string lineSaying(std::string_view saying) const {
        return (programName.empty() ? displayName() : programName) + ": " + std::string(saying);
    }

    // The millisecond clock of the main loop: the platform's own, set by the constructor; tests put a
    // clock of their own here.
    std::function<uint32_t()> clock;

    std::array<char, 32> className{};
    std::array<char, 32> title{};
    IconImage icon;
    WindowSpec windowSpec;
    uint32_t frameInterval = 50;
    // The name that begins every line the program writes on standard error.
    std::string programName;
    // The window scale the player asked for; without one, start-up takes the desktop's.
    std::optional<int32_t> requestedScale;
    // The window opens in full screen.
    bool startFullscreen = false;
    // Set by start-up: out of full screen the window is windowScale times the client area, every
    // back-buffer pixel a windowScale x windowScale block, and mouse positions are divided by it
    // before they arrive (in full screen, the fit to the screen takes its place).
    int32_t windowScale = 1;
    PresentingPath presentingPath = PresentingPath::automatic;
    SDL_Window* window = nullptr;
    BackBuffer backBuffer;
    // Why start-up failed, as one line for standard error. An application whose onInit fails may
    // put its own explanation here; the shell writes its own for the other failures.
    std::string startUpError;

private:
    struct Platform;  // the window system's resources: lock, video, cursor, a held event

    // One message taken from the queue: an event turned into a message, the posted quit, or the
    // pending paint, in that order of precedence.
    struct Message {
        uint32_t id = 0;
        uint64_t wParam = 0;
        int64_t lParam = 0;
    };
    std::optional<Message> takeMessage();
    void routeMessage(const Message& message);
    void carryOut(ShellCommand command);
    // How a window position reaches the client area, as the window shows it now.
    PointMapping pointMapping() const;
    void showTitle();
    void followReplay();
    void postQuit(int code);
    bool hasPendingMessage() const;
    void waitForMessage(uint32_t milliseconds);
    std::optional<std::string> chooseWindowScale();
    bool failStartUp(std::string reason);
    bool refusedByApplication(std::string_view what);
    std::string displayName() const;
    void closeWindow();
    bool present(const BackBuffer& picture);
    bool presentRows(const BackBuffer& picture, const std::vector<RowSpan>& rows);

    std::unique_ptr<Platform> platform_;
    std::optional<int> postedQuitCode_;
    bool paintPending_ = false;
    // The window lost what it showed, or never showed anything: the next present is a whole one.
    bool wholePicturePending_ = true;
    RunState runState_;
    bool frameDueAtOnce_ = false;  // resumed: the next pass runs a frame whatever the clock says
};

// The application object; every CoreApp construction points it at itself.
extern CoreApp* currentApp;

}  // namespace qv
