#include "app/display_connection.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>

#ifdef QV_HAVE_X11
#include <X11/Xlib.h>
#endif

namespace qv {

namespace {

// The whole line is made before the connection can fail: the handler may only write and go.
std::array<char, 256> lostLine{};
std::size_t lostLineLength = 0;

// A line too long is cut; it always ends in a newline.
void prepareLostLine(std::string_view line) {
    const std::size_t length = std::min(line.size(), lostLine.size() - 1);
    std::copy_n(line.begin(), length, lostLine.begin());
    lostLine[length] = '\n';
    lostLineLength = length + 1;
}

#ifdef QV_HAVE_X11
// Must not return: the library would exit() after it. _exit skips every destructor and atexit
// handler, so nothing reaches the display again; the kernel drops the instance lock with the process.
[[noreturn]] int onDisplayLost(Display* /*display*/) {
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, lostLine.data(), lostLineLength);
    ::_exit(1);
}

// A protocol error (a request about a window the server has already destroyed, say) leaves the
// connection usable; the library's default handler would end the process for it, which at shutdown
// turned a clean close into status 1.
int onProtocolError(Display* /*display*/, XErrorEvent* /*error*/) {
    return 0;
}
#endif

}  // namespace

void surviveDisplayProtocolErrors() {
#ifdef QV_HAVE_X11
    // Set before video starts: SDL keeps the handler it finds and puts it back before it closes the
    // display, so this one still serves for the requests that closing sends.
    XSetErrorHandler(onProtocolError);
#endif
}

void endProcessWhenDisplayIsLost(std::string_view line) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "x11") != 0) {
        return;
    }
    prepareLostLine(line);
#ifdef QV_HAVE_X11
    // SDL loads the same shared library by its soname, so this reaches the connection SDL opened.
    XSetIOErrorHandler(onDisplayLost);
#endif
}

}  // namespace qv
