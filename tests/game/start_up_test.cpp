#include <filesystem>
#include <fstream>

#include "game_fixture.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// Starts a game in a folder that holds only some pictures; returns what start-up said.
std::string startUpFailure(bool hiddenPresent, const char* shownContent) {
    const testing::ScratchFolder scratch;
    const fs::path& folder = scratch.path();
    if (hiddenPresent) {
        fs::copy_file(testing::assetsDirectory() / SandGame::kHiddenPicture, folder / SandGame::kHiddenPicture);
    }
    if (shownContent == nullptr) {
        fs::copy_file(testing::assetsDirectory() / SandGame::kShownPicture, folder / SandGame::kShownPicture);
    } else if (*shownContent != '\0') {
        std::ofstream(folder / SandGame::kShownPicture) << shownContent;
    }
    const testing::WorkingDirectory inFolder(folder);
    SandGame game;
    return game.initialise() != 0 ? "started" : game.startUpError;
}

TEST(StartUp, AMissingOrDamagedPictureStopsTheGameAndIsNamed) {
    struct Case {
        bool hiddenPresent;
        const char* shownContent;  // nullptr: the real picture; "": missing
        std::string expected;
    };
    const Case cases[] = {
        {false, nullptr, "back1_sml.bmp: not found"},
        {true, "", "back2_sml.bmp: not found"},
        {true, "GIF89a: a picture, but not the kind this game reads; long enough for both headers.", "back2_sml.bmp: not a BMP file"},
        {true, nullptr, "started"},
    };
    for (const Case& c : cases) {
        const std::string failure = startUpFailure(c.hiddenPresent, c.shownContent);
        EXPECT_NE(failure.find(c.expected), std::string::npos) << failure;
        if (c.expected != "started") {
            EXPECT_NE(failure.find("current directory"), std::string::npos) << failure;
        }
    }
}

}  // namespace
}  // namespace qv
