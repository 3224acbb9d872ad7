#include "cli/fleet_worker.h"

#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "store/location_store.h"
#include "cli/progress_line.h"

namespace q93::ctl {
namespace {

// A worker talks to its parent in lines: "S<step>" while it works, then "R<outcome as
// JSON>" once.
constexpr char kStepLine = 'S';
constexpr char kResultLine = 'R';

void writeAll(int fd, std::string text) {
    text.push_back('\n');
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return;
        done += static_cast<std::size_t>(put);
    }
}

std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

class PipeReporter : public StepReporter {
public:
    explicit PipeReporter(int fd) : fd_(fd) {}
    void step(const std::string& text) override { writeAll(fd_, kStepLine + oneLine(text)); }

private:
    int fd_;
};

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

JobOutcome failedWorker(const std::string& message) {
    JobOutcome outcome;
    outcome.failure = {"worker", message};
    return outcome;
}

struct Worker {
    std::size_t index;
    pid_t pid;
    int fd;
    std::string received;
    std::optional<JobOutcome> outcome;
};

// The serial port an encoder's tcp.txt names; empty for TCP, which takes many connections.
std::string serialLineOf(const StoredEncoder& encoder) {
    ConnectionSettings settings;
    if (ReadConnectionSettings(encoder.folder, settings) != 0 || settings.portName == "TCP/IP")
        return {};
    return settings.portName;
}

// A worker talks to an encoder on its parent's behalf only: once the parent is gone, killed
// or not, it ends at once. SIGTERM rather than SIGKILL, so that a worker in the middle of
// replacing its files finishes or undoes that first (the files hold the signal back).
void dieWithParent(pid_t parent) {
    std::signal(SIGTERM, SIG_DFL);
    sigset_t term;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    ::pthread_sigmask(SIG_UNBLOCK, &term, nullptr);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    // The parent may have gone before the line above.
    if (::getppid() != parent)
        ::_exit(1);
}

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

    void start(std::size_t index) {
        started_[index] = true;
        int ends[2];
        if (::pipe(ends) != 0)
            return finish(index, failedWorker(std::string("no pipe: ") + std::strerror(errno)));
        // Anything still buffered would otherwise be written once more by the child.
        std::fflush(nullptr);
        const pid_t parent = ::getpid();
        const pid_t pid = ::fork();
        if (pid < 0) {
            ::close(ends[0]);
            ::close(ends[1]);
            return finish(index, failedWorker(std::string("no worker: ") + std::strerror(errno)));
        }
        if (pid == 0) {
            dieWithParent(parent);
            ::close(ends[0]);
            for (const Worker& other : running_)
                ::close(other.fd);
            PipeReporter reporter(ends[1]);
            const JobOutcome outcome = body_(encoders_[index], reporter);
            writeAll(ends[1],
                     kResultLine + toJson(outcome).dump(-1, ' ', false,
                                                        nlohmann::json::error_handler_t::replace));
            // Leaves the parent's buffers and exit handlers alone.
            ::_exit(0);
        }
        ::close(ends[1]);
        running_.push_back({index, pid, ends[0], {}, std::nullopt});
    }

    // false once the stop came.
    bool waitForWorkers() {
        if (running_.empty())
            return true;
        std::vector<pollfd> fds;
        for (const Worker& worker : running_)
            fds.push_back({worker.fd, POLLIN, 0});
        if (stopFd_ >= 0)
            fds.push_back({stopFd_, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0)
            return true;
        if (stopFd_ >= 0 && fds.back().revents != 0)
            return false;
        for (std::size_t i = running_.size(); i-- > 0;) {
            if (fds[i].revents != 0 && !readFrom(running_[i]))
                reap(i);
        }
        return true;
    }

    void endWorkers() {
        for (const Worker& worker : running_)
            ::kill(worker.pid, SIGTERM);
        while (!running_.empty())
            reap(running_.size() - 1);
    }

    // false once the worker closed its end.
    bool readFrom(Worker& worker) {
        char buffer[4096];
        const ssize_t got = ::read(worker.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            return true;
        if (got <= 0)
            return false;
        worker.received.append(buffer, static_cast<std::size_t>(got));
        std::size_t newline;
        while ((newline = worker.received.find('\n')) != std::string::npos) {
            const std::string line = worker.received.substr(0, newline);
            worker.received.erase(0, newline + 1);
            if (!line.empty() && line[0] == kStepLine)
                showProgress(worker.index, line.substr(1));
            if (!line.empty() && line[0] == kResultLine)
                worker.outcome = fromJson(line.substr(1));
        }
        return true;
    }

    void reap(std::size_t at) {
        Worker worker = std::move(running_[at]);
        running_.erase(running_.begin() + static_cast<std::ptrdiff_t>(at));
        ::close(worker.fd);
        int status = 0;
        while (::waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (!worker.outcome) {
            const std::string how = WIFSIGNALED(status)
                                        ? "killed by signal " + std::to_string(WTERMSIG(status))
                                        : "exit status " + std::to_string(WEXITSTATUS(status));
            worker.outcome = failedWorker("the worker ended without a result (" + how + ")");
        }
        finish(worker.index, *worker.outcome);
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
