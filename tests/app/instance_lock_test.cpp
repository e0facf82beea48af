#include "app/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "helpers/scratch_folder.h"

// The single-instance lock is the user's own: kept in the session's runtime folder, or else in a
// private folder under the temporary directory; anything another user could have put in its
// place is refused without being followed, created or truncated.

namespace qv {
namespace {

namespace fs = std::filesystem;

// A temporary directory of the test's own, shared like /tmp (sticky, open to all), and no session folder.
class LockPlace : public ::testing::Test {
protected:
    void SetUp() override {
        fs::permissions(folder_.path(), fs::perms::all | fs::perms::sticky_bit);
        for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR"}) {
            if (const char* value = std::getenv(name)) saved_.emplace_back(name, value);
        }
        setenv("TMPDIR", shared_.c_str(), 1);
        unsetenv("XDG_RUNTIME_DIR");
    }
    void TearDown() override {
        unsetenv("TMPDIR");
        for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
    }
    std::string privateFolder() const { return shared_ + "/qv-lock-test-" + std::to_string(::geteuid()); }

    testing::ScratchFolder folder_;
    const std::string shared_ = folder_.path().string();
    std::vector<std::pair<std::string, std::string>> saved_;
};

// Without a session folder the lock lies in a folder of the user's own, closed to others.
TEST_F(LockPlace, WithoutASessionFolderTheLockIsInAPrivateFolder) {
    InstanceLock first, second;
    ASSERT_EQ(first.acquire("qv-lock-test"), InstanceLock::Result::acquired) << first.error();
    EXPECT_EQ(InstanceLock::pathFor("qv-lock-test"), privateFolder() + "/qv-lock-test.lock");
    struct stat folder {};
    ASSERT_EQ(::lstat(privateFolder().c_str(), &folder), 0);
    EXPECT_TRUE(S_ISDIR(folder.st_mode) && (folder.st_mode & 0777) == 0700 && folder.st_uid == ::geteuid());
    EXPECT_EQ(second.acquire("qv-lock-test"), InstanceLock::Result::heldElsewhere);
    first.release();
    EXPECT_EQ(second.acquire("qv-lock-test"), InstanceLock::Result::acquired) << second.error();
}

// A private folder that is a link, or open to others, is refused with a line that says so.
TEST_F(LockPlace, AFolderThatIsNotPrivateIsRefused) {
    const std::string elsewhere = shared_ + "/elsewhere";
    fs::create_directory(elsewhere);
    fs::permissions(elsewhere, fs::perms::owner_all);
    fs::create_directory_symlink(elsewhere, privateFolder());
    InstanceLock lock;
    EXPECT_EQ(lock.acquire("qv-lock-test"), InstanceLock::Result::unavailable);
    EXPECT_NE(lock.error().find("cannot use the lock folder " + privateFolder() + ": it is not a folder"),
              std::string::npos)
        << lock.error();
    EXPECT_TRUE(fs::is_empty(elsewhere));

    fs::remove(privateFolder());
    fs::create_directory(privateFolder());
    fs::permissions(privateFolder(), fs::perms::owner_all | fs::perms::others_write | fs::perms::others_exec);
    EXPECT_EQ(lock.acquire("qv-lock-test"), InstanceLock::Result::unavailable);
    EXPECT_NE(lock.error().find("refusing the lock folder " + privateFolder()), std::string::npos) << lock.error();
    EXPECT_NE(lock.error().find("mode 0703"), std::string::npos) << lock.error();
}

// At the lock's path, a link is not followed (its target is neither made nor truncated), and
// anything but a regular file is refused.
TEST_F(LockPlace, ALockPathThatIsNotARegularFileIsRefused) {
    setenv("XDG_RUNTIME_DIR", shared_.c_str(), 1);
    const std::string path = shared_ + "/qv-lock-test.lock";
    const std::string victim = shared_ + "/victim";
    std::ofstream(victim) << "precious";
    fs::create_symlink(victim, path);
    fs::create_symlink(shared_ + "/made-by-the-lock", shared_ + "/qv-dangling.lock");
    InstanceLock lock;
    EXPECT_EQ(lock.acquire("qv-lock-test"), InstanceLock::Result::unavailable);
    EXPECT_EQ(lock.error(), "refusing the lock file " + path + ": it is a symbolic link");
    EXPECT_EQ(fs::file_size(victim), 8u);
    EXPECT_EQ(lock.acquire("qv-dangling"), InstanceLock::Result::unavailable);
    EXPECT_FALSE(fs::exists(shared_ + "/made-by-the-lock"));

    fs::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(lock.acquire("qv-lock-test"), InstanceLock::Result::unavailable);
    EXPECT_EQ(lock.error(), "refusing the lock file " + path + ": it is not a regular file of this user's own");
    fs::remove(path);
    fs::create_directory(path);
    EXPECT_EQ(lock.acquire("qv-lock-test"), InstanceLock::Result::unavailable);
}

}  // namespace
}  // namespace qv
