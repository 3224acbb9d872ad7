#include "cli/fleet_worker.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "base/held_signals.h"
#include "cli/progress_line.h"
#include "protocol/frame_codec.h"
#include "store/location_store.h"

namespace q93::ctl {
namespace {

std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

Json toJson(const JobOutcome& outcome) {
    return {{"ok", outcome.ok},
            {"step", outcome.failure.step},
            {"message", outcome.failure.message},
            {"values", outcome.values}};
}

JobOutcome fromJson(const std::string& text) {
    const Json json = Json::parse(text, nullptr, false);
    JobOutcome outcome;
    if (!json.is_object()) {
        outcome.failure = {"worker", "unreadable result from the worker"};
        return outcome;
    }
    outcome.ok = json.value("ok", false);
    outcome.failure = {json.value("step", ""), json.value("message", "")};
    outcome.values = json.value("values", Json::object());
    return outcome;
}

// An outcome as its text gives it back: what is not UTF-8 (a folder name in the Windows code
// page) reads as U+FFFD in every report alike, the lines and the JSON documents.
JobOutcome asText(const JobOutcome& outcome) {
    return fromJson(toJson(outcome).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

JobOutcome failedWorker(const std::string& message) {
    JobOutcome outcome;
    outcome.failure = {"worker", message};
    return outcome;
}

// The serial port an encoder's tcp.txt names; empty for TCP, which takes many connections.
std::string serialLineOf(const StoredEncoder& encoder) {
    ConnectionSettings settings;
    if (ReadConnectionSettings(encoder.folder, settings) != 0 || settings.portName == "TCP/IP")
        return {};
    return settings.portName;
}

// What the workers hand to the scheduler's thread, which alone shows and reports.
class Mailbox {
public:
    Mailbox() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~Mailbox() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Mailbox(const Mailbox&) = delete;
    Mailbox& operator=(const Mailbox&) = delete;

    struct Letter {
        std::size_t index;
        bool result;
        std::string step;
        JobOutcome outcome;
    };

    // Readable while letters wait.
    int fd() const { return fd_; }

    void post(Letter letter) {
        {
            std::lock_guard lock(mutex_);
            letters_.push_back(std::move(letter));
        }
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t put = ::write(fd_, &one, sizeof one);
    }

    std::deque<Letter> take() {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t got = ::read(fd_, &count, sizeof count);
        std::lock_guard lock(mutex_);
        return std::exchange(letters_, {});
    }

private:
    int fd_;
    std::mutex mutex_;
    std::deque<Letter> letters_;  // guarded by mutex_
};

class MailReporter : public StepReporter {
public:
    MailReporter(Mailbox& mailbox, std::size_t index, const std::atomic<bool>& stopping)
        : mailbox_(mailbox), index_(index), stopping_(stopping) {}
    void step(const std::string& text) override {
        mailbox_.post({index_, false, oneLine(text), {}});
    }
    bool stopping() const override { return stopping_.load(); }

private:
    Mailbox& mailbox_;
    std::size_t index_;
    const std::atomic<bool>& stopping_;
};

struct Worker {
    std::size_t index;
    std::thread thread;
};

class Scheduler {
public:
    Scheduler(const std::vector<StoredEncoder>& encoders, int jobs, const std::string& verb,
              const JobBody& body, int stopFd)
        : encoders_(encoders), jobs_(jobs), verb_(verb), body_(body), stopFd_(stopFd) {
        for (const StoredEncoder& encoder : encoders)
            lines_.push_back(serialLineOf(encoder));
        started_.assign(encoders.size(), false);
        outcomes_.resize(encoders.size());
        done_.assign(encoders.size(), false);
    }

    std::vector<JobOutcome> run(
        const std::function<void(std::size_t, const JobOutcome&)>& finished) {
        std::size_t reported = 0;
        while (reported < encoders_.size()) {
            startWhatMay();
            if (!waitForWorkers()) {
                endWorkers();
                break;
            }
            while (reported < encoders_.size() && done_[reported]) {
                progress_.wipe();
                finished(reported, outcomes_[reported]);
                std::fflush(stdout);
                ++reported;
            }
        }
        progress_.wipe();
        return outcomes_;
    }

private:
    bool lineBusy(std::size_t index) const {
        if (lines_[index].empty())
            return false;
        for (const Worker& worker : running_) {
            if (lines_[worker.index] == lines_[index])
                return true;
        }
        return false;
    }

    void startWhatMay() {
        for (std::size_t i = 0; i < encoders_.size(); ++i) {
            if (static_cast<int>(running_.size()) >= jobs_)
                return;
            if (!started_[i] && !lineBusy(i))
                start(i);
        }
    }

    // The job's own thread: its own parameter sets, connections, user seam and frame
    // numbering, as a process of its own had them.
    void work(std::size_t index) {
        const OwnFrameSequence sequence(startSequence_);
        MailReporter reporter(mailbox_, index, stopping_);
        JobOutcome outcome;
        try {
            // A folder that cannot be read fails before anything is tried on it.
            const StoredEncoder& encoder = encoders_[index];
            if (!encoder.unreadable.empty())
                outcome.failure = {"folder", encoder.unreadable};
            else
                outcome = asText(body_(encoder, reporter));
        } catch (const std::exception& error) {
            outcome = failedWorker(std::string("the worker ended without a result (") +
                                   error.what() + ")");
        }
        mailbox_.post({index, true, {}, std::move(outcome)});
    }

    void start(std::size_t index) {
        started_[index] = true;
        try {
            signals_.startThread([this, index] {
                running_.push_back({index, std::thread([this, index] { work(index); })});
            });
        } catch (const std::system_error& error) {
            finish(index, failedWorker(std::string("no worker: ") + error.what()));
        }
    }

    // false once the stop came.
    bool waitForWorkers() {
        if (running_.empty())
            return true;
        std::vector<pollfd> fds{{mailbox_.fd(), POLLIN, 0}};
        if (signals_.fd() >= 0)
            fds.push_back({signals_.fd(), POLLIN, 0});
        if (stopFd_ >= 0)
            fds.push_back({stopFd_, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0)
            return true;
        if (signals_.fd() >= 0 && fds[1].revents != 0)
            signals_.endProcess();
        if (stopFd_ >= 0 && fds.back().revents != 0)
            return false;
        if (fds[0].revents != 0)
            readMail();
        return true;
    }

    void readMail() {
        for (Mailbox::Letter& letter : mailbox_.take()) {
            if (!letter.result) {
                showProgress(letter.index, letter.step);
                continue;
            }
            for (std::size_t i = 0; i < running_.size(); ++i) {
                if (running_[i].index != letter.index)
                    continue;
                running_[i].thread.join();
                running_.erase(running_.begin() + static_cast<std::ptrdiff_t>(i));
                break;
            }
            finish(letter.index, letter.outcome);
        }
    }

    // The jobs still running give up at their next step; their outcomes go unreported.
    void endWorkers() {
        stopping_.store(true);
        for (Worker& worker : running_) {
            worker.thread.join();
            finish(worker.index, failedWorker("stopped before its result"));
        }
        running_.clear();
        mailbox_.take();
    }

    void finish(std::size_t index, const JobOutcome& outcome) {
        outcomes_[index] = outcome;
        done_[index] = true;
    }

    void showProgress(std::size_t index, const std::string& step) {
        progress_.show(verb_ + " " + std::to_string(index + 1) + " of " +
                       std::to_string(encoders_.size()) + " " + encoders_[index].name() + ": " +
                       step);
    }

    const std::vector<StoredEncoder>& encoders_;
    int jobs_;
    std::string verb_;
    const JobBody& body_;
    int stopFd_;
    // Where every job's frame numbers start: where this process's stood.
    const std::int32_t startSequence_ = frameSequence.load();
    EndSignalsTaken signals_;
    Mailbox mailbox_;
    std::atomic<bool> stopping_{false};
    ProgressLine progress_;
    std::vector<std::string> lines_;
    std::vector<bool> started_;
    std::vector<bool> done_;
    std::vector<JobOutcome> outcomes_;
    std::vector<Worker> running_;
};

}  // namespace

std::vector<JobOutcome> runFleet(
    const std::vector<StoredEncoder>& encoders, int jobs, const std::string& verb,
    const JobBody& body, const std::function<void(std::size_t, const JobOutcome&)>& finished,
    int stopFd) {
    Scheduler scheduler(encoders, jobs < 1 ? 1 : jobs, verb, body, stopFd);
    return scheduler.run(finished);
}

}  // namespace q93::ctl
