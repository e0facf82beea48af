#include "web/web_shell.h"

#include <cstring>

#include "app/back_buffer.h"
#include "app/core_app.h"
#include "app/messages.h"
#include "web/page_bridge.h"
#include "web/start_up_line.h"

namespace qv::web {

namespace {

// Enough passes to drain a burst of mouse messages in one call, few enough to hand the page back
// its thread within a frame.
constexpr int kMostPassesPerCall = 64;

uint32_t messageFor(replay::MouseAction action) {
    switch (action) {
        case replay::MouseAction::Move: return kMouseMoveMessage;
        case replay::MouseAction::LeftDown: return kLeftButtonDownMessage;
        case replay::MouseAction::RightDown: return kRightButtonDownMessage;
        case replay::MouseAction::LeftUp: return kLeftButtonUpMessage;
        case replay::MouseAction::RightUp: return kRightButtonUpMessage;
    }
    return 0;  // no message: every action is named above
}

bool isMouseMessage(uint32_t message) { return message >= kMouseMoveMessage && message <= kRightButtonDoubleClickMessage; }

}  // namespace

WebShell& webShell() {
    static WebShell shell;
    return shell;
}

std::string nameText(const std::array<char, 32>& name) { return std::string(name.data(), strnlen(name.data(), name.size())); }

void WebShell::begin() {
    if (app_ == nullptr || started_) {
        return;
    }
    CoreApp& app = *app_;
    if (app.onBeforeWindow() == 0) {
        page::showLine(pageStartUpLine(app.startUpError.empty() ? "the game stopped before it started" : app.startUpError));
        app.shutDown();
        return;
    }
    runState_.replaying = app.replaying();
    const std::string title = titleFor(nameText(app.title), runState_);
    page::openCanvas(title, app.windowSpec.clientWidth, app.windowSpec.clientHeight);
    page::showRunState(title, runState_.replaying);
    canvas_.forget();  // a new canvas shows nothing yet
    started_ = true;
    route(Message{kPaintMessage, 0, 0});  // the canvas shows a picture before the first frame
    lastFrame_ = app.clock();
    page::schedulePasses(0);
}

void WebShell::postMouse(uint32_t message, int32_t x, int32_t y) {
    if (!started_ || scripted_) {
        return;
    }
    input_.push_back(Message{message, 0, packPosition(x, y)});
}

void WebShell::presentRows(const BackBuffer& picture, const std::vector<RowSpan>& written) {
    if (app_ == nullptr) {
        return;
    }
    const WindowSpec& window = app_->windowSpec;
    const std::vector<RowSpan> shown = canvas_.update(picture, window.clientWidth, window.clientHeight, written);
    if (!shown.empty()) {
        page::presentRows(canvas_.pixels(), canvas_.width(), canvas_.height(), shown);
    }
}

void WebShell::presentWhole(const BackBuffer& picture) {
    canvas_.forget();
    presentRows(picture, {});
}

void WebShell::canvasLost() {
    canvas_.forget();
    requestPaint();
}

void WebShell::postQuit(int code) {
    if (!quitCode_) {
        quitCode_ = code;
    }
}

void WebShell::playScript(std::vector<replay::ScriptEvent> events, int32_t frames) {
    scripted_ = true;
    script_ = std::move(events);
    nextScripted_ = 0;
    stopAfter(frames);
}

WebShell::Outlook WebShell::runPasses() {
    if (!started_) {
        return Outlook{false, 0};
    }
    for (int count = 0; count < kMostPassesPerCall; ++count) {
        const PassResult result = pass();
        if (result.quit) {
            started_ = false;
            app_->shutDown();
            return Outlook{false, 0};
        }
        if (sessionOver()) {
            if (!sessionReported_) {
                sessionReported_ = true;
                page::reportScriptDone(framesRun_);
            }
            return Outlook{false, 0};
        }
        if (!result.tookMessage && !result.ranFrame) {
            return Outlook{true, result.untilDue};
        }
    }
    return Outlook{true, 0};
}

WebShell::PassResult WebShell::pass() {
    PassResult result;
    const std::optional<Message> message = takeMessage();
    result.tookMessage = message.has_value();
    result.quit = message && message->id == kQuitMessage;
    if (message && !result.quit) {
        route(*message);
    }

    CoreApp& app = *app_;
    if (app.frameInterval == 0) {
        if (app.onIdle() == 0) postQuit(0);
        return result;
    }
    const uint32_t time = app.clock();
    const uint32_t elapsed = time - lastFrame_;  // unsigned: right across the counter's wrap
    if (elapsed >= app.frameInterval && frameAllowed()) {
        lastFrame_ = time;
        result.ranFrame = true;
        deliverScriptedEvents(framesRun_ + 1);
        ++framesRun_;
        if (app.onFrame() == 0) postQuit(0);
        followReplay();
    } else {
        result.untilDue = elapsed >= app.frameInterval ? app.frameInterval : app.frameInterval - elapsed;
        if (app.onIdle() == 0) postQuit(0);
    }
    return result;
}

// Input first; the quit and the paint only when no input waits, as a window system ranks them.
std::optional<WebShell::Message> WebShell::takeMessage() {
    if (!input_.empty()) {
        const Message message = input_.front();
        input_.pop_front();
        return message;
    }
    if (quitCode_) {
        const Message quit{kQuitMessage, static_cast<uint64_t>(*quitCode_), 0};
        quitCode_.reset();
        return quit;
    }
    if (paintPending_) {
        return Message{kPaintMessage, 0, 0};
    }
    return std::nullopt;
}

void WebShell::route(const Message& message) {
    if (isMouseMessage(message.id) && !mouseReachesApplication(runState_)) {
        return;
    }
    if (message.id == kPaintMessage) {
        paintPending_ = false;  // one paint covers the whole canvas
    }
    app_->onMessage(message.id, message.wParam, message.lParam);
}

bool WebShell::frameAllowed() const { return !sessionFrames_ || framesRun_ < *sessionFrames_; }

// The session's frames have all run, and the last of them is on the canvas.
bool WebShell::sessionOver() const { return sessionFrames_ && framesRun_ >= *sessionFrames_ && !paintPending_; }

// Scripted events travel as the page's own mouse messages do, so they take the same route.
void WebShell::deliverScriptedEvents(int32_t frame) {
    for (; nextScripted_ < script_.size() && script_[nextScripted_].frame == frame; ++nextScripted_) {
        const replay::ScriptEvent& event = script_[nextScripted_];
        route(Message{messageFor(event.action), 0, packPosition(event.x, event.y)});
    }
}

// A replay ends with a frame; the title, the page's line and the mouse follow.
void WebShell::followReplay() {
    if (runState_.replaying != app_->replaying()) {
        runState_.replaying = !runState_.replaying;
        page::showRunState(titleFor(nameText(app_->title), runState_), runState_.replaying);
    }
}

}  // namespace qv::web
