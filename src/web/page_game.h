#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "game/sand_game.h"

namespace qv::web {

// The game as the page runs it. Every session is recorded, as the desktop's --record does, into a
// file of the page's own file system; when a game ends, the page offers that replay to the player.
class PageGame final : public SandGame {
public:
    PageGame();

    // Ends the game, and offers its replay.
    void onRButtonDown(int32_t mouseX, int32_t mouseY) override;
    // The session's replay as its file would hold it if the page closed now, with the end line of
    // the last frame run; nothing, with why in `error`, when the recording failed.
    std::optional<std::string> replaySoFar(std::string& error);
};

// The one game of the page, alive for as long as the page.
PageGame& pageGame();

}  // namespace qv::web
