#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "fleet/set_procedure.h"
#include "screen/kit/gui_wakeup.h"

namespace q93 {

// Runs a settings change over encoders one after another on a thread of its own, as the
// window talks to one encoder at a time: the first encoder goes alone, and the others only
// once it holds what the change asked (a plan reads every one). What it finds reaches the
// GUI thread, on which it is made, as calls in the order they happened.
class SetWorker {
public:
    struct Calls {
        std::function<void(std::size_t index)> started;
        std::function<void(std::size_t index, const SetOutcome& outcome)> finished;
        std::function<void()> done;
    };

    explicit SetWorker(Calls calls);
    // Asks the run to stop and waits for it: at most the transfer under way.
    ~SetWorker();
    SetWorker(const SetWorker&) = delete;
    SetWorker& operator=(const SetWorker&) = delete;

    // Starts a run unless one is under way.
    bool start(const SetChange& change, bool apply, bool force,
               const std::vector<StoredEncoder>& encoders);
    // No encoder starts after the one under way, which ends its transfer; the rest end as
    // "not attempted".
    void stop() { stopping_ = true; }
    bool running() const { return running_; }

private:
    void run(SetChange change, bool apply, bool force, std::vector<StoredEncoder> encoders);
    void post(std::function<void()> call);
    // On the GUI thread: the calls posted since the last time.
    void serve();

    Calls calls_;
    std::mutex mutex_;
    std::deque<std::function<void()>> posted_;  // guarded by mutex_
    GuiWakeup wakeup_{[this] { serve(); }};
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> running_{false};
};

}  // namespace q93
