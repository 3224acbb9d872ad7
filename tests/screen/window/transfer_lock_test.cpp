// The desktop tool's transfers share the encoder with q93ctl and the fleet watch.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "resources/templates/main_window_templates.h"
#include "store/encoder_lock.h"
#include "tests/screen/window/main_window_fixture.h"
#include "tests/support/lock_holder_process.h"

namespace q93::test {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A Read waits while another program holds the encoder, and holds it itself for as long as
// it talks to the encoder: the lock is this process's while the frames go, free after.
TEST_F(MainWindowWithSim, ATransferWaitsForTheEncoderAndHoldsItWhileItRuns) {
    startSim({"--fault", "delay:15"});
    ASSERT_TRUE(select(node(0, 0, 3)));
    {
        LockHolderProcess other(folder, 600ms);
        ASSERT_TRUE(other.held());
        const auto start = Clock::now();
        click(kReadButtonId);
        EXPECT_GE(Clock::now() - start, 500ms);
        EXPECT_TRUE(seam.warnings.empty()) << seam.warnings.front();
    }

    std::atomic<bool> reading{true};
    std::atomic<int> heldByUs{0};
    std::thread watcher([&] {
        while (reading) {
            const auto holder = encoderLockHolder(folder);
            heldByUs += holder && holder->pid == ::getpid() ? 1 : 0;
            std::this_thread::sleep_for(20ms);
        }
    });
    click(kReadButtonId);
    reading = false;
    watcher.join();
    EXPECT_TRUE(seam.warnings.empty()) << seam.warnings.front();
    EXPECT_GT(heldByUs.load(), 5);
    EXPECT_FALSE(encoderLockHolder(folder).has_value());
}

}  // namespace
}  // namespace q93::test
