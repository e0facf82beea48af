#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/messages.h"
#include "game/frame_columns.h"
#include "game/replay_player.h"
#include "game_fixture.h"
#include "replay/replay_recorder.h"

namespace qv::testing {
namespace {

using Recording = StartedGame;

// A session played through the shells' window messages (pours, a game over and a restart, moves
// that stay in one cell) is recorded as it goes; a new game replaying the file ends where the
// played one did after its last frame, in its columns and its picture, though the file leaves out the moves that changed nothing
// and the player pressed again once the last frame had run.
TEST_F(Recording, ARecordedSessionReplaysToTheSameEnd) {
    const ScratchFolder folder;
    const std::string path = folder.in("session.replay");
    std::ostringstream warnings;
    std::string error;
    auto recorder = replay::ReplayRecorder::open(path, kSeed, warnings, error);
    ASSERT_TRUE(recorder) << error;
    game->recordInto(recorder.get());

    constexpr int32_t kFrames = 300;
    int movesDelivered = 0;
    const auto send = [&](uint32_t message, int32_t x, int32_t y) {
        game->onMessage(message, 0, packPosition(x, y));
        movesDelivered += message == kMouseMoveMessage ? 1 : 0;
    };
    for (int32_t frame = 1; frame <= kFrames; ++frame) {
        const int32_t x = 32 + 4 * ((frame * 13) % 96);  // the left edge of a cell
        send(kMouseMoveMessage, x, 100 + frame % 7);
        send(kMouseMoveMessage, x + 1, 100 + frame % 7);  // the same cell as the move before
        if (frame % 30 == 1) {
            send(kLeftButtonDownMessage, x, 120);
            send(kLeftButtonUpMessage, x, 120);
        }
        if (frame == 200) {
            send(kRightButtonDownMessage, 0, 0);
            send(kRightButtonUpMessage, 0, 0);
        }
        game->onFrame();
    }
    const replay::TraceColumns played = frameColumns(kFrames, *game);
    const BackBuffer& picture = game->backBuffer;
    const std::vector<uint8_t> playedPicture(picture.bits, picture.bits + picture.rowBytes() * picture.height);
    send(kLeftButtonDownMessage, 300, 300);  // after the last frame: in the file, not in its end
    ASSERT_TRUE(recorder->finish());
    EXPECT_EQ(warnings.str(), "");

    std::ifstream file(path);
    auto replayed = replay::parseReplay(file, error);
    ASSERT_TRUE(replayed) << error;
    EXPECT_EQ(replayed->seed, kSeed);
    ASSERT_EQ(replayed->end, played);
    EXPECT_EQ(replayed->events.back(), (replay::ScriptEvent{kFrames + 1, replay::MouseAction::LeftDown, 300, 300}));
    const auto movesKept = std::count_if(replayed->events.begin(), replayed->events.end(),
                                         [](const replay::ScriptEvent& e) { return e.action == replay::MouseAction::Move; });
    EXPECT_LE(movesKept, movesDelivered / 2);

    const ReplayPlayer player(std::move(*replayed));
    auto fresh = std::make_unique<SandGame>();
    {
        WorkingDirectory inAssets(assetsDirectory());
        sharedRandom().seed(player.replay().seed);
        ASSERT_EQ(fresh->initialise(), 1) << fresh->startUpError;
    }
    int32_t frame = 0;
    while (!player.finished(frame)) {
        player.beforeFrame(++frame, *fresh);
        fresh->onFrame();
    }
    EXPECT_EQ(frameColumns(frame, *fresh), played);
    // The columns do not see the cursor, which the moves place; the picture does.
    EXPECT_TRUE(std::equal(playedPicture.begin(), playedPicture.end(), fresh->backBuffer.bits));
}

}  // namespace
}  // namespace qv::testing
