#pragma once

#include <cstdint>
#include <utility>

#include "replay/replay_file.h"

namespace qv {

class CoreApp;

// Hands a scripted mouse event to the application's mouse operation, as a shell's message would,
// with the full 32-bit position.
void deliverMouseEvent(CoreApp& app, const replay::ScriptEvent& event);

// Plays a replay (or a script) into the game: before each frame, the events recorded before it, in
// file order. The shell runs the frames, and hands the mouse back to the player once `finished`.
class ReplayPlayer {
public:
    explicit ReplayPlayer(replay::Replay replay) : replay_(std::move(replay)) {}

    // Delivers the events to come before frame `frame` (1-based).
    void beforeFrame(int32_t frame, CoreApp& app) const;
    // Whether the replay's last frame has run once `framesRun` frames have.
    bool finished(int32_t framesRun) const { return framesRun >= replay_.lastFrame(); }

    const replay::Replay& replay() const { return replay_; }

private:
    replay::Replay replay_;
};

}  // namespace qv
