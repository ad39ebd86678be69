#include "connection/OwnerLock.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace quilo {
namespace {

// The owner is another process, as it will be: the lock is an flock, which a
// process shares with itself.
TEST(OwnerLock, ASecondTakerLearnsTheOwnerUntilItDiesThenTakesOver) {
    const auto runtime =
        std::filesystem::temp_directory_path() / ("owner-lock-" + std::to_string(::getpid()));
    std::filesystem::create_directories(runtime);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    const std::string node = "/dev/hidraw7";

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        OwnerLock lock;
        const char ok = lock.take(node, "quilod") ? 'n' : 'y';
        (void)!::write(ready[1], &ok, 1);
        ::pause();
        ::_exit(0);
    }
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y');

    OwnerLock mine;
    const auto owner = mine.take(node, "quiloctl");
    ASSERT_TRUE(owner);
    EXPECT_EQ(owner->program, "quilod");
    EXPECT_EQ(owner->pid, child);
    EXPECT_EQ(ownerText(*owner), "quilod (pid " + std::to_string(child) + ")");
    ASSERT_EQ(OwnerLock::owners().size(), 1u);
    EXPECT_EQ(OwnerLock::owners()[0].processor, node);
    EXPECT_FALSE(mine.held());

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(mine.take(node, "quiloctl"));
    EXPECT_TRUE(mine.held());
    EXPECT_EQ(OwnerLock::ownerOf(node)->program, "quiloctl");

    mine.release();
    EXPECT_FALSE(OwnerLock::ownerOf(node));
    std::filesystem::remove_all(runtime);
}

} // namespace
} // namespace quilo
