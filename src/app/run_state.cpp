#include "app/run_state.h"

namespace qv {

std::string titleFor(std::string_view title, const RunState& state) {
    std::string holds;
    const auto hold = [&holds](bool holding, std::string_view word) {
        if (holding) {
            holds += holds.empty() ? "" : ", ";
            holds += word;
        }
    };
    hold(state.replaying, "replay");
    hold(state.paused, "paused");
    return holds.empty() ? std::string(title) : std::string(title) + " (" + holds + ")";
}

// A paused game must not take a click: it would pour, or start a new game, into a still picture.
// A replay's game takes only the replay's clicks, or it would no longer end as recorded.
bool mouseReachesApplication(const RunState& state) { return !state.paused && !state.replaying; }

}  // namespace qv
