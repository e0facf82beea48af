#include "app/run_state.h"

namespace qv {

std::string titleFor(std::string_view title, const RunState& state) {
    std::string shown(title);
    if (state.paused) {
        shown += " (paused)";
    }
    return shown;
}

// A paused game must not take a click: it would pour, or start a new game, into a still picture.
bool mouseReachesApplication(const RunState& state) { return !state.paused; }

}  // namespace qv
