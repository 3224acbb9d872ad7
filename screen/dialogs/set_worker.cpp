#include "screen/dialogs/set_worker.h"

namespace q93 {
namespace {

// The window shows which encoder is under way, not each exchange; the stop reaches the
// session's wait for the encoder's lock.
class StopReporter : public StepReporter {
public:
    explicit StopReporter(const std::atomic<bool>& stopping) : stopping_(stopping) {}
    void step(const std::string&) override {}
    bool stopping() const override { return stopping_; }

private:
    const std::atomic<bool>& stopping_;
};

}  // namespace

SetWorker::SetWorker(Calls calls) : calls_(std::move(calls)) {}

SetWorker::~SetWorker() {
    stopping_ = true;
    if (thread_.joinable())
        thread_.join();
}

bool SetWorker::start(const SetChange& change, bool apply, bool force,
                      const std::vector<StoredEncoder>& encoders) {
    if (running_)
        return false;
    if (thread_.joinable())
        thread_.join();
    stopping_ = false;
    running_ = true;
    thread_ = std::thread(&SetWorker::run, this, change, apply, force, encoders);
    return true;
}

void SetWorker::post(std::function<void()> call) {
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(call));
    }
    wakeup_.post();
}

void SetWorker::serve() {
    std::deque<std::function<void()>> calls;
    {
        std::lock_guard lock(mutex_);
        calls.swap(posted_);
    }
    for (const std::function<void()>& call : calls)
        call();
}

void SetWorker::run(SetChange change, bool apply, bool force, std::vector<StoredEncoder> encoders) {
    StopReporter reporter(stopping_);
    bool canaryHeld = true;
    for (std::size_t i = 0; i < encoders.size(); ++i) {
        if (stopping_ || !canaryHeld) {
            post([this, i] { calls_.finished(i, notAttempted()); });
            continue;
        }
        post([this, i] { calls_.started(i); });
        EncoderSession session(encoders[i], reporter);
        const SetOutcome outcome = setEncoder(change, apply, force, session, reporter);
        // The first encoder of a send is the canary: the others wait for it to hold.
        canaryHeld = !apply || i > 0 || setStatusHeld(outcome.status);
        post([this, i, outcome] { calls_.finished(i, outcome); });
    }
    post([this] {
        running_ = false;
        calls_.done();
    });
}

}  // namespace q93
