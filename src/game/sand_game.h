#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/changed_rows.h"
#include "app/core_app.h"
#include "field/field_composer.h"
#include "field/sand_field.h"
#include "game/picture_lookup.h"
#include "game/replay_player.h"
#include "game/score_display.h"
#include "game/score_state.h"
#include "image/image_layer.h"
#include "replay/replay_recorder.h"

namespace qv {

// The game: a sand field under the mouse, a background picture, and the score.
class SandGame : public CoreApp {
public:
    static constexpr int32_t kClientWidth = 448;
    static constexpr int32_t kClientHeight = 640;
    static constexpr uint32_t kFrameMilliseconds = 17;
    static constexpr int32_t kFieldOrigin = 32;  // the field and the picture start at (32, 32)
    static constexpr int32_t kPictureWidth = 384;
    static constexpr int32_t kPictureHeight = 576;
    static constexpr int32_t kBeadsPerPour = 300;
    static constexpr const char* kHiddenPicture = "back1_sml.bmp";
    static constexpr const char* kShownPicture = "back2_sml.bmp";

    SandGame() = default;

    // Seeds the generator with `seed`, adds the installed game's data folders to the picture
    // lookup, then `initialise`.
    int onInit() override;
    // Opens the recording, if one was asked for: start-up holds the lock by now.
    int onBeforeWindow() override;
    // Ends the recording with the last frame's end line.
    int onExit() override;
    // Until the watched replay's last frame has run.
    bool replaying() const override;
    // Everything start-up does after seeding: the field, the pictures, the score, the window
    // parameters, the back buffer and where everything sits in it. 0 on failure, with the reason
    // in `startUpError`.
    int initialise();

    // One frame: move the pour, run the field's steps, score, compose the picture.
    int onFrame() override;
    // Paints go to the painter, everything else to the mouse.
    int onMessage(uint32_t message, uint64_t wParam, int64_t lParam) override;
    // The score display.
    void onDraw(DrawContext& dc) override;
    // The rows that frames, the cursor, the score display and restarts wrote since the last paint.
    std::vector<RowSpan> takeWrittenRows() override;
    // Records every mouse event the game takes and every frame it runs from now on (nothing more
    // when null). The recorder must finish before the game goes.
    void recordInto(replay::ReplayRecorder* recorder);
    // The recording that recordPath asked for, from start-up until the game exits; null otherwise.
    replay::ReplayRecorder* recording() const { return recording_.get(); }

    void onMouseMove(int32_t mouseX, int32_t mouseY) override;
    // Pours, or starts a new game once this one is over.
    void onLButtonDown(int32_t mouseX, int32_t mouseY) override;
    // Ends the game.
    void onRButtonDown(int32_t mouseX, int32_t mouseY) override;
    // Releases change nothing; a recording keeps them all the same.
    void onLButtonUp(int32_t mouseX, int32_t mouseY) override;
    void onRButtonUp(int32_t mouseX, int32_t mouseY) override;

    // Plays `replay` into the game from its first frame on, its events before their frames, and
    // keeps the player's mouse from the game until the replay's last frame has run. Its seed
    // becomes the game's.
    void watch(replay::Replay replay);

    // What onInit seeds the generator with: the clock's when the game is made, or a watched
    // replay's. Chosen before start-up, so that a recording can say it before the first frame.
    uint32_t seed = static_cast<uint32_t>(std::time(nullptr));
    // Where the session is recorded, from the first frame on: opened once start-up holds the lock,
    // so that a second copy cannot empty the first one's file; nothing is recorded when empty.
    std::string recordPath;

    int32_t nextHue = 0;
    SandField field;
    ScoreState scoreState;
    std::array<ImageLayer, 2> layers;  // 0: back1_sml.bmp, prepared but never shown; 1: back2_sml.bmp
    PictureLookup pictureLookup;       // the current directory alone until onInit adds the data folders
    // Draws the shown picture and the field where the frame's look changed; it is told about
    // every other write into the field's rectangle (the cursor, the score display, a restart).
    FieldComposer composer;
    // The rows of the back buffer written since presenting last took them: the field's rows of
    // tiles the frame redrew, the cursor, the score display's lines, everything after a restart.
    ChangedRows changedRows;
    // The score display's lines as last drawn into the back buffer at `hudShownIn`; a paint leaves
    // alone those still there with the same characters.
    std::vector<HudLine> hudShown;
    const uint8_t* hudShownIn = nullptr;

private:
    replay::ReplayRecorder* recorder_ = nullptr;
    std::unique_ptr<replay::ReplayRecorder> recording_;  // the one recordPath asked for
    std::optional<ReplayPlayer> watched_;
    int32_t framesRun_ = 0;

    bool loadPictures();
    // The path to open for a picture; nothing, with the places looked in `startUpError`, when none holds it.
    std::optional<std::filesystem::path> locatePicture(const char* name);
    void placeDrawables();
    void setPendingCell(int32_t mouseX, int32_t mouseY);
    void record(replay::MouseAction action, int32_t mouseX, int32_t mouseY, bool changedNothing = false);
    void restart();
    void playWatchedEvents();
    void drawCursor();
    void noteRowsWritten(int32_t top, int32_t height);
    void trackRowsOf(const BackBuffer& picture);
    bool stillShown(const HudLine& line) const;
    uint32_t nextHueColour() const;
};

}  // namespace qv
