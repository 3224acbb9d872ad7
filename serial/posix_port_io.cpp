#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>

#include "serial/port_error.h"
#include "serial/posix_comm_port.h"

namespace q93::serial {

int PosixCommPort::queued(unsigned long request) {
    int count = 0;
    if (ioctl(fd_, request, &count) != 0)
        return 0;
    return count;
}

int PosixCommPort::bytesWaiting() {
    return queued(FIONREAD);
}

// Only the bytes the terminal took count as written; the rest is the caller's to send again.
int PosixCommPort::write(const std::uint8_t* buffer, int length) {
    const int room = std::max(0, txQueueSize_ - queued(TIOCOUTQ));
    const int wanted = std::min(std::max(length, 0), room);
    int written = 0;
    if (wanted > 0) {
        const ssize_t put = ::write(fd_, buffer, static_cast<std::size_t>(wanted));
        if (put > 0)
            written = static_cast<int>(put);
    }
    if (written < length)
        storeError(CL_ERR_SHORTWRITE);
    return written;
}

int PosixCommPort::readChar() {
    std::uint8_t byte = 0;
    return ::read(fd_, &byte, 1) == 1 ? int{byte} : int{CL_ERR_NODATA};
}

int PosixCommPort::flush(Queue queue) {
    if (tcflush(fd_, queue == Queue::Output ? TCOFLUSH : TCIFLUSH) == 0)
        return 0;
    return failSystemCall();
}

bool PosixCommPort::waitForInput(int timeoutMs) {
    pollfd watched{fd_, POLLIN, 0};
    return ::poll(&watched, 1, timeoutMs) > 0 && (watched.revents & POLLIN) != 0;
}

}  // namespace q93::serial
