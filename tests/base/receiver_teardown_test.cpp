#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "base/frame_log.h"
#include "base/user_seam.h"

namespace q93 {
namespace {

// Counts calls that reach it after it was retired; retired receivers are kept, not freed,
// so that a late call shows up as a count even without a sanitizer.
class Receiver final : public FrameLogger, public UserSeam {
public:
    void logFrame(const std::uint8_t*, int, int) override { visit(); }
    void showWarning(const std::string&) override { visit(); }
    void progressCreate() override { visit(); }

    void retire() { retired_.store(true); }
    int lateCalls() const { return lateCalls_.load(); }
    // Waits, boundedly, until a call has entered, so that one is likely still inside.
    void awaitACall() const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (calls_.load() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    }

private:
    void visit() {
        ++calls_;
        if (retired_.load())
            ++lateCalls_;
        // A call long enough for the retiring thread to overtake it when nothing holds it.
        std::this_thread::sleep_for(std::chrono::microseconds(50));
        if (retired_.load())
            ++lateCalls_;
    }

    std::atomic<bool> retired_{false};
    std::atomic<int> lateCalls_{0};
    std::atomic<int> calls_{0};
};

struct Hook {
    const char* name;
    std::function<void(Receiver*)> install;
    std::function<void()> callFromALink;
};

// A link on the measurement thread keeps calling while the GUI thread attaches, detaches
// and destroys the receiver: once detached, no call may still be inside it.
TEST(ReceiverTeardown, NoCallIsStillInsideAReceiverOnceItIsUninstalled) {
    const std::uint8_t frame[] = {0xFE, 0x00, 0xFF};
    const Hook hooks[] = {
        {"frame log", [](Receiver* r) { installFrameLogger(r); },
         [&] { logFrame(frame, 3, kFrameSent); }},
        {"user seam", [](Receiver* r) { installUserSeam(r); }, [] { ProgressPopup popup; }},
    };
    for (const Hook& hook : hooks) {
        SCOPED_TRACE(hook.name);
        std::atomic<bool> stop{false};
        std::thread link([&] {
            while (!stop.load())
                hook.callFromALink();
        });
        std::vector<std::unique_ptr<Receiver>> retired;
        for (int round = 0; round < 100; ++round) {
            auto receiver = std::make_unique<Receiver>();
            hook.install(receiver.get());
            receiver->awaitACall();
            hook.install(nullptr);
            receiver->retire();  // where the window's destructor would free it
            retired.push_back(std::move(receiver));
        }
        stop.store(true);
        link.join();
        int late = 0;
        for (const auto& receiver : retired)
            late += receiver->lateCalls();
        EXPECT_EQ(late, 0);
    }
}

// A receiver that the uninstalling thread itself is still inside (a modal box whose event
// loop closes the window) does not hold the uninstall up.
TEST(ReceiverTeardown, AnUninstallFromInsideTheReceiverReturns) {
    struct SelfRemoving final : FrameLogger {
        void logFrame(const std::uint8_t*, int, int) override {
            installFrameLogger(nullptr);
            ++calls;
        }
        int calls = 0;
    } receiver;
    installFrameLogger(&receiver);
    const std::uint8_t frame[] = {0xFE, 0xFF};
    logFrame(frame, 2, kFrameReceived);
    logFrame(frame, 2, kFrameReceived);
    EXPECT_EQ(receiver.calls, 1);
}

}  // namespace
}  // namespace q93
