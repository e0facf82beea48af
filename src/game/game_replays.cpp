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
    setReplaying(watched_ && !watched_->finished(framesRun_));
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

void SandGame::playWatchedEvents() {
    if (watched_) {
        watched_->beforeFrame(framesRun_ + 1, *this);
    }
}

// The player takes over where the replay ended, with the mouse where the replay left it.
void SandGame::handBackWhenWatched() {
    if (watched_ && watched_->finished(framesRun_)) {
        watched_.reset();
        setReplaying(false);
    }
}

}  // namespace qv
