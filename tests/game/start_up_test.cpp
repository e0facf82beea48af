#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "game_fixture.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// A folder holding only some of the pictures, or a damaged one.
class PictureFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("quorvantile-start-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    void copyPicture(const char* name) { fs::copy_file(testing::assetsDirectory() / name, folder / name); }

    // Starts a game in the folder; returns what start-up said when it failed.
    std::string startUpFailure() {
        testing::WorkingDirectory inFolder(folder);
        SandGame game;
        if (game.initialise() != 0) {
            return "";
        }
        return game.startUpError;
    }

    fs::path folder;
};

TEST_F(PictureFolder, MissingHiddenPictureFailsAndNamesIt) {
    copyPicture(SandGame::kShownPicture);
    const std::string failure = startUpFailure();
    EXPECT_NE(failure.find("back1_sml.bmp"), std::string::npos) << failure;
    EXPECT_NE(failure.find("current directory"), std::string::npos) << failure;
}

TEST_F(PictureFolder, MissingShownPictureFailsAndNamesIt) {
    copyPicture(SandGame::kHiddenPicture);
    const std::string failure = startUpFailure();
    EXPECT_NE(failure.find("back2_sml.bmp"), std::string::npos) << failure;
}

TEST_F(PictureFolder, DamagedPictureFailsWithTheReadersReason) {
    copyPicture(SandGame::kHiddenPicture);
    std::ofstream(folder / SandGame::kShownPicture) << "GIF89a definitely not a bitmap";
    const std::string failure = startUpFailure();
    EXPECT_NE(failure.find("back2_sml.bmp"), std::string::npos) << failure;
    EXPECT_GT(failure.size(), std::string("Quorvantile: cannot load the picture back2_sml.bmp: ").size() + 10)
        << "the reader's reason is part of the line: " << failure;
}

TEST_F(PictureFolder, BothPicturesPresentStartsTheGame) {
    copyPicture(SandGame::kHiddenPicture);
    copyPicture(SandGame::kShownPicture);
    EXPECT_EQ(startUpFailure(), "");
}

}  // namespace
}  // namespace qv
