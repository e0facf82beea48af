#include <filesystem>
#include <fstream>
#include <optional>

#include "game/picture_lookup.h"
#include "game_fixture.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// A scratch folder with a current directory and two data folders; the test runs inside `here`.
class Places : public ::testing::Test {
protected:
    void SetUp() override {
        for (const fs::path& folder : {here, first, second}) {
            fs::create_directories(folder);
        }
        inHere.emplace(here);
    }
    void TearDown() override { inHere.reset(); }
    static void put(const fs::path& file) { std::ofstream(file) << "picture"; }

    const testing::ScratchFolder scratch;
    const fs::path root = scratch.path();
    const fs::path here = root / "here";
    const fs::path first = root / "first";
    const fs::path second = root / "second";
    std::optional<testing::WorkingDirectory> inHere;
};

TEST_F(Places, TheCurrentDirectoryWinsThenTheDataFoldersInOrder) {
    const PictureLookup lookup({first, second});
    EXPECT_EQ(lookup.find("back1_sml.bmp"), std::nullopt);

    put(second / "back1_sml.bmp");
    EXPECT_EQ(lookup.find("back1_sml.bmp"), second / "back1_sml.bmp");
    put(first / "back1_sml.bmp");
    EXPECT_EQ(lookup.find("back1_sml.bmp"), first / "back1_sml.bmp");
    put(here / "back1_sml.bmp");
    EXPECT_EQ(lookup.find("back1_sml.bmp"), fs::path("back1_sml.bmp")) << "the bare name, as a player's own picture";

    EXPECT_EQ(PictureLookup().find("back2_sml.bmp"), std::nullopt) << "without data folders only here counts";
}

TEST_F(Places, AnEntryThatCannotBeReadStillCountsSoThatItsFaultIsShown) {
    put(first / "back1_sml.bmp");
    put(first / "back2_sml.bmp");
    fs::create_symlink(root / "nowhere.bmp", here / "back1_sml.bmp");
    fs::create_directory(here / "back2_sml.bmp");
    const PictureLookup lookup({first});
    EXPECT_EQ(lookup.find("back1_sml.bmp"), fs::path("back1_sml.bmp")) << "a dangling link";
    EXPECT_EQ(lookup.find("back2_sml.bmp"), fs::path("back2_sml.bmp")) << "a folder of that name";
}

TEST(InstalledDataFolders, FoundFromTheProgramFirstThenWhereTheInstallationWasMeantToBe) {
    const fs::path fromProgram = "../share/games/quorvantile";
    const fs::path configured = "/usr/local/share/games/quorvantile";
    using Folders = std::vector<fs::path>;
    EXPECT_EQ(installedDataFolders("/opt/moved/games/", fromProgram, configured),
              (Folders{"/opt/moved/share/games/quorvantile", configured}));
    EXPECT_EQ(installedDataFolders("/usr/local/games", fromProgram, configured), (Folders{configured}))
        << "the same folder is looked in once";
    EXPECT_EQ(installedDataFolders("", fromProgram, configured), (Folders{configured})) << "program folder unknown";
    EXPECT_EQ(installedDataFolders("/opt/games/", fromProgram, ""), (Folders{"/opt/share/games/quorvantile"}));
}

}  // namespace
}  // namespace qv
