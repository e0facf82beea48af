#pragma once

#include <string>
#include <string_view>

namespace qv {

// What holds the application back from being played as usual. The window title and the mouse gate
// both follow from it alone, so that another reason to hold the game joins here.
struct RunState {
    bool replaying = false;  // a replay plays the game: the player's mouse waits for its end
    bool paused = false;     // no frame runs, the picture stays
};

// The window's title: the application's own, with what holds it in brackets ("Quorvantile (paused)",
// "Quorvantile (replay, paused)").
std::string titleFor(std::string_view title, const RunState& state);

// Whether the player's mouse reaches the application.
bool mouseReachesApplication(const RunState& state);

}  // namespace qv
