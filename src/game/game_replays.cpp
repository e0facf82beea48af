#include <iostream>
#include <utility>

#include "game/sand_game.h"

namespace qv {

void SandGame::watch(replay::Replay replay) {
    seed = replay.seed;
    watched_.emplace(std::move(replay));
}

int SandGame::onBeforeWindow() {
    if (!recordPath.empty()) {
        std::string error;
        recording_ = replay::ReplayRecorder::open(recordPath, seed, std::cerr, error);
        if (!recording_) {
            startUpError = error;
            return 0;
        }
        recordInto(recording_.get());
    }
    return 1;
}

int SandGame::onExit() {
    if (recording_) {
        recording_->finish();  // a failure was said when it happened
        recordInto(nullptr);
        recording_.reset();
    }
    return 1;
}

// The player takes over where the replay ended, with the cursor where the replay left it.
bool SandGame::replaying() const { return watched_ && !watched_->finished(framesRun_); }

void SandGame::playWatchedEvents() {
    if (replaying()) {
        watched_->beforeFrame(framesRun_ + 1, *this);
    }
}

}  // namespace qv
