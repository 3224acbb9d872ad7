#include "tests/support/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>

#include "tests/support/deadline.h"

namespace q93::test {

PseudoTerminal::PseudoTerminal() {
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    slaveName_ = name;
    termios tio{};
    tcgetattr(slave_, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave_, TCSANOW, &tio);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PseudoTerminal::~PseudoTerminal() {
    if (slave_ >= 0)
        close(slave_);
    if (master_ >= 0)
        close(master_);
}

void PseudoTerminal::send(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = write(master_, bytes.data() + done, bytes.size() - done);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
        } else {
            pollfd fd{master_, POLLOUT, 0};
            poll(&fd, 1, 100);
        }
    }
}

std::string PseudoTerminal::receive(std::size_t count, int timeoutMs) {
    std::string out;
    const auto deadline = TestClock::now() + std::chrono::milliseconds(timeoutMs);
    while (out.size() < count) {
        const int left = millisecondsLeft(deadline);
        if (left == 0)
            break;
        pollfd fd{master_, POLLIN, 0};
        if (poll(&fd, 1, left) <= 0)
            continue;
        char buffer[1024];
        const ssize_t got = read(master_, buffer, std::min(sizeof buffer, count - out.size()));
        if (got > 0)
            out.append(buffer, static_cast<std::size_t>(got));
    }
    return out;
}

}  // namespace q93::test
