#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "serial/comm_errors.h"
#include "serial/legacy_errors.h"
#include "serial/posix_comm_port.h"

namespace q93::serial {

int PosixCommPort::bytesWaiting(unsigned long request) {
    int count = 0;
    if (ioctl(fd, request, &count) != 0)
        return 0;
    return count;
}

// The driver counts line errors; only those since the last look are new.
void PosixCommPort::collectLineErrors() {
    serial_icounter_struct counts{};
    if (ioctl(fd, TIOCGICOUNT, &counts) != 0)
        return;  // pseudo-terminals keep no counts
    const auto seen = [this](int now, int& last, std::uint32_t bit) {
        if (now != last)
            lineErrors |= bit;
        last = now;
    };
    seen(counts.overrun, lastOverruns, kErrOverrun);
    seen(counts.parity, lastParityErrors, kErrParity);
    seen(counts.frame, lastFramingErrors, kErrFraming);
    seen(counts.brk, lastBreaks, kErrBreak);
    seen(counts.buf_overrun, lastBufferOverruns, kErrRxOverflow);
}

int PosixCommPort::getQueueStatus(QueueStatus& record, int /*kind*/) {
    collectLineErrors();
    record = QueueStatus{};
    record.rxWaiting = bytesWaiting(FIONREAD);
    record.rxSize = rxQueueSize;
    record.txWaiting = bytesWaiting(TIOCOUTQ);
    record.txSize = txQueueSize;
    std::uint8_t status = 0;
    if (dcb.fOutxCtsFlow && readModemLines(status) && (status & kModemCts) == 0) {
        record.flags |= kQueueOutputHeld;
    }
    return 0;
}

// A non-blocking terminal takes what fits and keeps nothing pending, so only the bytes it
// took count as written; the rest is the caller's to send again.
int PosixCommPort::write(const std::uint8_t* buffer, int length) {
    collectLineErrors();
    const int room = std::max(0, txQueueSize - bytesWaiting(TIOCOUTQ));
    const int wanted = std::min(std::max(length, 0), room);
    int written = 0;
    if (wanted > 0) {
        const ssize_t put = ::write(fd, buffer, static_cast<std::size_t>(wanted));
        if (put > 0) {
            written = static_cast<int>(put);
        } else {
            collectLineErrors();
        }
    }
    if (written < length)
        storeError(CL_ERR_SHORTWRITE);
    return written;
}

int PosixCommPort::writeChar(int c) {
    const std::uint8_t byte = static_cast<std::uint8_t>(c);
    return write(&byte, 1) == 1 ? 0 : lastError;
}

int PosixCommPort::writeString(const char* text) {
    if (text == nullptr)
        return 0;
    return write(reinterpret_cast<const std::uint8_t*>(text), static_cast<int>(std::strlen(text)));
}

int PosixCommPort::sendImmediate(int c) {
    const std::uint8_t byte = static_cast<std::uint8_t>(c);
    return ::write(fd, &byte, 1) == 1 ? 0 : CL_ERR_FAIL;
}

int PosixCommPort::readChar() {
    std::uint8_t byte = 0;
    return ::read(fd, &byte, 1) == 1 ? byte : CL_ERR_NODATA;
}

int PosixCommPort::read(std::uint8_t* buffer, int max) {
    collectLineErrors();
    const int waiting = bytesWaiting(FIONREAD);
    if (waiting <= 0 || max <= 0)
        return 0;
    const int wanted = std::min(waiting, max);
    int got = 0;
    while (got < wanted) {
        const ssize_t part = ::read(fd, buffer + got, static_cast<std::size_t>(wanted - got));
        if (part <= 0) {
            collectLineErrors();
            break;
        }
        got += static_cast<int>(part);
    }
    return got;
}

int PosixCommPort::flush(int direction, int count) {
    if (direction != 0 || count <= 0) {
        if (tcflush(fd, direction != 0 ? TCOFLUSH : TCIFLUSH) == 0)
            return 0;
        failSystemCall();
        return translateLastError();
    }
    for (int taken = 0; taken < count; ++taken) {
        if (readChar() == CL_ERR_NODATA)
            return 0;
    }
    return CL_ERR_FAIL;
}

}  // namespace q93::serial
