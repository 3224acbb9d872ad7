#include "cli/history_push.h"

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "store/location_store.h"

namespace q93::ctl {
namespace {

// Ends the process when the push it watches outlives its bound: libgit2 cannot be told to
// give up a connection that waits, and a scheduled backup must not hang for ever.
class PushWatch {
public:
    explicit PushWatch(std::string url) : url_(std::move(url)), thread_([this] { watch(); }) {}
    ~PushWatch() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        changed_.notify_one();
        thread_.join();
    }
    PushWatch(const PushWatch&) = delete;
    PushWatch& operator=(const PushWatch&) = delete;

private:
    void watch() {
        std::unique_lock lock(mutex_);
        if (changed_.wait_for(lock, std::chrono::seconds(kPushWaitSeconds),
                              [this] { return done_; }))
            return;
        std::fprintf(stderr,
                     "q93ctl: the push to %s did not finish within %d seconds and was ended; "
                     "the versions stay recorded here for the next push\n",
                     url_.c_str(), kPushWaitSeconds);
        std::fflush(stderr);
        _exit(1);
    }

    std::string url_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false;
    std::thread thread_;
};

}  // namespace

PushOutcome pushVersions() {
    // What was printed before stays printed should the watch end the process.
    std::fflush(stdout);
    std::string url, error;
    historyRemoteUrl(kLocationRoot, &url, &error);
    PushWatch watch(url.empty() ? "the remote" : url);
    return pushHistory(kLocationRoot);
}

std::string pushFailureText(const PushOutcome& outcome) {
    // Only a history with a version has one to keep.
    const std::string kept =
        outcome.shortId.empty() ? "" : "; the versions stay recorded here for the next push";
    switch (outcome.result) {
        case PushResult::NoRemote:
            return "the settings history has no remote: nothing pushed (q93ctl history remote "
                   "URL sets one)";
        case PushResult::Refused:
            if (outcome.nonFastForward) {
                return outcome.url + " refused the push of branch " + outcome.branch +
                       ": it has versions this history lacks (non-fast-forward), and q93ctl " +
                       "never forces a push (" + outcome.message + "); fetch and merge them " +
                       "by hand (git -C " + kLocationRoot + " pull --no-rebase " + kHistoryRemote +
                       " " + outcome.branch + "), then q93ctl history push" + kept;
            }
            return outcome.url + " refused the push of branch " + outcome.branch + " (" +
                   outcome.message + ")" + kept;
        case PushResult::Failed:
            return outcome.message + kept;
        case PushResult::Pushed:
            break;
    }
    return {};
}

std::string pushedText(const PushOutcome& outcome) {
    return "pushed " + outcome.branch + " at " + outcome.shortId + " to " + outcome.url;
}

}  // namespace q93::ctl
