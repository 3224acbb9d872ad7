#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "fleet/set_procedure.h"

namespace q93 {

// Runs a settings change over encoders one after another on a thread of its own, as the
// window talks to one encoder at a time: the first encoder goes alone, and the others only
// once it holds what the change asked (a plan reads every one). What it finds reaches the
// thread of `context` as queued calls; the worker belongs to `context`, which outlives it.
class SetWorker {
public:
    struct Calls {
        std::function<void(std::size_t index)> started;
        std::function<void(std::size_t index, const SetOutcome& outcome)> finished;
        std::function<void()> done;
    };

    SetWorker(QObject* context, Calls calls);
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

    QObject* context_;
    Calls calls_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> running_{false};
};

}  // namespace q93
