#include "app/instance_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "shell_fixture.h"

namespace qv::testing {
namespace {

class InstanceLocking : public ShellTest {};

TEST_F(InstanceLocking, KilledHolderLeavesNoLock) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceLock lock;
        const char held = lock.acquire("QV-CRASH") == InstanceLock::Result::acquired ? 'y' : 'n';
        (void)!write(ready[1], &held, 1);
        pause();
        _exit(0);
    }
    char held = 0;
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    ASSERT_EQ(held, 'y');
    InstanceLock lock;
    EXPECT_EQ(lock.acquire("QV-CRASH"), InstanceLock::Result::heldElsewhere);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(lock.acquire("QV-CRASH"), InstanceLock::Result::acquired);
    close(ready[0]);
    close(ready[1]);
}

TEST_F(InstanceLocking, UnusableDirectoryIsReportedNotMistakenForAnotherCopy) {
    setenv("XDG_RUNTIME_DIR", (runtimeDir_ + "/missing").c_str(), 1);
    InstanceLock lock;
    EXPECT_EQ(lock.acquire("QV"), InstanceLock::Result::unavailable);
    EXPECT_NE(lock.error().find("missing/QV.lock"), std::string::npos);
}

// A second copy initialises in full, finds the first one's lock and goes without a window; once the
// first has ended, a copy starts.
TEST_F(InstanceLocking, SecondApplicationIsRefusedWhileTheFirstRuns) {
    RecordingApp first;
    setName(first, "qv-single");
    ASSERT_TRUE(first.startUp(""));
    {
        RecordingApp second;
        setName(second, "qv-single");
        EXPECT_FALSE(second.startUp(""));
        EXPECT_EQ(second.initCalls, 1);
        EXPECT_EQ(second.window, nullptr);
        EXPECT_NE(second.startUpError.find("another copy"), std::string::npos);
        second.shutDown();
    }
    first.shutDown();
    RecordingApp third;
    setName(third, "qv-single");
    EXPECT_TRUE(third.startUp(""));
    third.shutDown();
}

}  // namespace
}  // namespace qv::testing
