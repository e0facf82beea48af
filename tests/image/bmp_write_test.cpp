#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include "image/bmp_files.h"
#include "image/bmp_writer.h"

// Writing pictures: a failed write never removes or replaces what the program did not create, and
// says which file failed and why.

namespace qv {
namespace {

using namespace testing;
namespace fs = std::filesystem;

class WriteBmp : public InOwnFolder {
protected:
    bool write(const std::string& path, std::string& error) const {
        return writeBmp24(path, picture_.width(), picture_.height(), picture_.pixels.get(), picture_.rowBytes, &error);
    }
    std::size_t entriesInFolder() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_.path()), fs::directory_iterator()));
    }

    BmpImage picture_ = coordinatePicture(448, 640);
};

// A folder named as the target stays where it is, and a write into a folder that is not there
// fails; each says which file and why. (A link to a device is the headless program test's case.)
TEST_F(WriteBmp, AFailedWriteLeavesWhatItWasGiven) {
    fs::create_directory(in("folder.bmp"));
    std::string error;
    EXPECT_FALSE(write(in("folder.bmp"), error));
    EXPECT_EQ(error, "cannot write " + in("folder.bmp") + ": Is a directory");
    EXPECT_TRUE(fs::is_directory(in("folder.bmp")));
    EXPECT_FALSE(write(in("no/such/folder.bmp"), error));
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
}

// An old picture stays whole when the new one cannot be written in full (here the process may
// write no file larger than 1000 bytes); a complete one replaces it and keeps its permissions.
TEST_F(WriteBmp, AnOldFileIsReplacedOnlyByACompleteOne) {
    const std::string path = in("old.bmp");
    std::ofstream(path) << "the old picture";
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const auto writeWithSmallFileLimit = [&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &small);
        std::string error;
        std::fprintf(stderr, "%s\n", write(path, error) ? "written" : error.c_str());
        std::_Exit(0);
    };
    EXPECT_EXIT(writeWithSmallFileLimit(),
        ::testing::ExitedWithCode(0), "cannot write " + path + ": File too large");
    EXPECT_EQ(fs::file_size(path), 15u) << "the old picture stays whole";
    EXPECT_EQ(entriesInFolder(), 1u) << "no temporary file is left behind";

    std::string error;
    ASSERT_TRUE(write(path, error)) << error;
    EXPECT_EQ(fs::file_size(path), 54u + 448u * 640u * 3u);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(entriesInFolder(), 1u);

    // Through a link the picture goes to the file it points at, and the link stays.
    fs::create_symlink("old.bmp", in("link.bmp"));
    std::ofstream(path) << "older";
    ASSERT_TRUE(write(in("link.bmp"), error)) << error;
    EXPECT_TRUE(fs::is_symlink(in("link.bmp")) && fs::file_size(path) == 54u + 448u * 640u * 3u);
}

}  // namespace
}  // namespace qv
