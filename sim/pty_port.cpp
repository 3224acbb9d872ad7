#include "sim/pty_port.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/line_session.h"
#include "sim/sim_log.h"

namespace q93::sim {

PtyPort::~PtyPort() {
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
}

bool PtyPort::open(std::string* error) {
    char name[256] = {};
    termios tio{};
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    if (openpty(&master_, &slave_, name, &tio, nullptr) != 0) {
        if (error) *error = std::string("openpty: ") + std::strerror(errno);
        return false;
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slave_, F_SETFD, FD_CLOEXEC);
    path_ = name;
    return true;
}

void PtyPort::run() {
    PacedWriter writer(master_, false, pacing_, stop_);
    LineSession session(service_, writer, acknowledge_, "pty");
    std::uint8_t buffer[4096];
    while (!stop_.requested()) {
        pollfd fds[2] = {{master_, POLLIN, 0}, {stop_.fd(), POLLIN, 0}};
        const int n = poll(fds, 2, -1);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || (fds[1].revents & POLLIN)) break;
        if (fds[0].revents & POLLIN) {
            const ssize_t got = read(master_, buffer, sizeof buffer);
            if (got > 0) {
                if (!session.onBytes(buffer, static_cast<std::size_t>(got)) && session.closeRequested() &&
                    !session.silent()) {
                    // A close fault: a serial line cannot be closed, so it goes silent.
                    session.setSilent();
                    logLine("pty: line silent from now on");
                }
                continue;
            }
            if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        }
        // Hang-up or an error without data: wait a little instead of spinning.
        if (!stop_.sleepFor(std::chrono::milliseconds(20))) break;
    }
}

}  // namespace q93::sim
