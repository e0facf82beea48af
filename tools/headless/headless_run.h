#pragma once

#include <ostream>

#include "options.h"

namespace qv::headless {

// Exit statuses of a headless run.
inline constexpr int kRunOk = 0;
inline constexpr int kRunFailed = 1;    // the game could not start, or an output could not be written
inline constexpr int kBadInvocation = 2;  // a bad option or a bad input script; nothing ran

// Runs the game's start-up with a fixed seed and then `options.frames` frame updates, feeding the
// scripted mouse events before their frames. Writes the trace to `standardOutput` when its path is
// "-". Problems are reported on `errors`, one line each.
int runHeadless(const Options& options, std::ostream& standardOutput, std::ostream& errors);

}  // namespace qv::headless
