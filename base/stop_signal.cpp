#include "base/stop_signal.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace q93 {

namespace {

std::atomic<int> signalWriteFd{-1};

extern "C" void onStopSignal(int) {
    const int saved = errno;
    const int fd = signalWriteFd.load();
    if (fd >= 0) {
        const char byte = 's';
        [[maybe_unused]] const ssize_t ignored = write(fd, &byte, 1);
    }
    errno = saved;
}

}  // namespace

StopSignal::StopSignal() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        readFd_ = fds[0];
        writeFd_ = fds[1];
    }
}

StopSignal::~StopSignal() {
    if (signalWriteFd.load() == writeFd_)
        signalWriteFd.store(-1);
    if (readFd_ >= 0)
        close(readFd_);
    if (writeFd_ >= 0)
        close(writeFd_);
}

void StopSignal::installSignalHandlers() {
    signalWriteFd.store(writeFd_);
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

void StopSignal::request() {
    const char byte = 's';
    [[maybe_unused]] const ssize_t ignored = write(writeFd_, &byte, 1);
}

bool StopSignal::requested() const {
    pollfd fd{readFd_, POLLIN, 0};
    return poll(&fd, 1, 0) > 0;
}

bool StopSignal::sleepFor(std::chrono::nanoseconds duration) const {
    if (duration.count() <= 0)
        return !requested();
    timespec wait{};
    wait.tv_sec = static_cast<time_t>(duration.count() / 1000000000);
    wait.tv_nsec = static_cast<long>(duration.count() % 1000000000);
    pollfd fd{readFd_, POLLIN, 0};
    for (;;) {
        const int n = ppoll(&fd, 1, &wait, nullptr);
        if (n > 0)
            return false;
        if (n == 0)
            return true;
        if (errno != EINTR)
            return true;
    }
}

}  // namespace q93
