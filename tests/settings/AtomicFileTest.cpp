#include "settings/AtomicFile.h"

#include "settings/TempFolder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <string>

namespace kestrava {
namespace {

// Two complete texts of different lengths, so that any mix or cut of them is recognised.
const std::string kOld = "[A]\r\n" + std::string(20000, 'o') + "\r\n";
const std::string kNew = "[B]\r\n" + std::string(70000, 'n') + "\r\n";

// Runs `work` in a child process and waits for it; returns the child's wait status.
template <typename Work>
int inChild(Work work) {
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

TEST(AtomicFileTest, killBetweenWriteAndRenameLeavesTheOldFile) {
    test::TempFolder folder;
    const auto target = folder / "recvcfg.ini";
    test::WriteBytes(target, kOld);
    const int status =
        inChild([&] { WriteFileAtomically(target, kNew, [] { ::raise(SIGKILL); }); });
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(test::ReadBytes(target), kOld);
}

TEST(AtomicFileTest, killAtRandomMomentsLeavesOldOrNewNeverAMix) {
    test::TempFolder folder;
    const auto target = folder / "recvcfg.ini";
    test::WriteBytes(target, kOld);
    std::mt19937 random(12345);
    for (int round = 0; round < 60; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            // Saves alternately until killed.
            for (int i = 0;; ++i) {
                WriteFileAtomically(target, (i % 2 == 0) ? kNew : kOld);
            }
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const auto text = test::ReadBytes(target);
        ASSERT_TRUE(text == kOld || text == kNew) << "round " << round << ": " << text.size();
    }
}

} // namespace
} // namespace kestrava
