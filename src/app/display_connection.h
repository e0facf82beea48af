#pragma once

#include <string_view>

namespace qv {

// Once video runs on X11, a lost display connection ends the process at once: `line` on standard
// error, and exit status 1. Without this, the window system
// library's own handler calls exit(), whose static destructors talk to the dead display again and
// can spin for ever while the single-instance lock is held. Nothing happens on other video drivers.
void endProcessWhenDisplayIsLost(std::string_view line);

// X protocol errors are ignored instead of ending the process; call before video starts.
void surviveDisplayProtocolErrors();

}  // namespace qv
