#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>

#include "store/encoder_lock.h"
#include "tests/support/immutable_file.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(EncoderLock, ASecondUserWaitsItsBoundThenLearnsWhoHoldsIt) {
    test::TempDir work;
    const std::string folder = work.path().string() + "/";
    EncoderLock first, second;
    std::string error;
    ASSERT_TRUE(first.acquire(folder, 0ms, &error)) << error;

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(second.acquire(folder, 300ms, &error));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    EXPECT_FALSE(second.held());
    const std::string head = "'" + folder + "' is in use by process " + std::to_string(::getpid());
    const std::string tail = "), which did not let it go within 0.3 s";
    EXPECT_EQ(error.substr(0, head.size() + 2), head + " (") << error;
    ASSERT_GT(error.size(), tail.size());
    EXPECT_EQ(error.substr(error.size() - tail.size()), tail);
    // The command line as /proc shows it: this test program and its arguments.
    EXPECT_NE(error.find(program_invocation_name), std::string::npos) << error;

    const std::optional<LockHolder> holder = encoderLockHolder(folder);
    ASSERT_TRUE(holder.has_value());
    EXPECT_EQ(holder->pid, ::getpid());
    first.release();
    EXPECT_FALSE(encoderLockHolder(folder).has_value());
    EXPECT_TRUE(second.acquire(folder, 0ms, &error)) << error;
}

// The lock belongs to the process that took it: held while it runs, free once it is killed,
// with no file to clean up, and it can be taken on a folder that cannot be written.
TEST(EncoderLock, GoesWithItsProcessAndCreatesNothing) {
    test::TempDir work;
    const fs::path folder = work.path() / "Enc";
    fs::create_directory(folder);
    test::writeFileBytes((folder / "device.dat").string(), "kept");
    const test::ImmutableFile unwritable(folder.string());
    if (::geteuid() == 0) {
        ASSERT_TRUE(unwritable.ok());
    }

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        EncoderLock lock;
        std::string error;
        const char taken = lock.acquire(folder.string() + "/", 0ms, &error) ? 'y' : 'n';
        (void)!::write(ready[1], &taken, 1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char taken = 0;
    ASSERT_EQ(::read(ready[0], &taken, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(taken, 'y');
    const std::optional<LockHolder> holder = encoderLockHolder(folder.string());
    EXPECT_TRUE(holder.has_value() && holder->pid == child);
    EncoderLock mine;
    std::string error;
    EXPECT_FALSE(mine.acquire(folder.string(), 0ms, &error));

    ::kill(child, SIGKILL);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    EXPECT_TRUE(mine.acquire(folder.string(), 0ms, &error)) << error;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"device.dat"});
}

}  // namespace
}  // namespace q93
