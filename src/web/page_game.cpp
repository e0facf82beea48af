#include "web/page_game.h"

#include "web/page_bridge.h"

namespace qv::web {

namespace {

constexpr const char* kRecordingPath = "/session.replay";

}  // namespace

PageGame::PageGame() { recordPath = kRecordingPath; }

void PageGame::onRButtonDown(int32_t mouseX, int32_t mouseY) {
    SandGame::onRButtonDown(mouseX, mouseY);
    if (scoreState.gameOver) {
        page::offerReplay();
    }
}

std::optional<std::string> PageGame::replaySoFar(std::string& error) {
    replay::ReplayRecorder* recorder = recording();
    if (recorder == nullptr) {
        error = "quorvantile: this session is not recorded";
        return std::nullopt;
    }
    return recorder->textSoFar(error);
}

PageGame& pageGame() {
    static PageGame game;
    return game;
}

}  // namespace qv::web
