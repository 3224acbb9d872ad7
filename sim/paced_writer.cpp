#include "sim/paced_writer.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace q93::sim {

bool PacedWriter::writeChunks(const std::vector<std::vector<std::uint8_t>>& chunks) {
    for (const auto& chunk : chunks) {
        if (!writeChunk(chunk)) return false;
    }
    return true;
}

bool PacedWriter::writeChunk(const std::vector<std::uint8_t>& chunk) {
    using namespace std::chrono;
    if (pacing_.delayMs > 0 && !stop_.sleepFor(milliseconds(pacing_.delayMs))) return false;
    if (pacing_.trickleMs <= 0 && pacing_.baud <= 0) return writeAll(chunk.data(), chunk.size());
    // One byte at a time on a schedule, as a UART would put them out.
    const nanoseconds perByte = pacing_.baud > 0 ? nanoseconds(10'000'000'000LL / pacing_.baud) : nanoseconds(0);
    auto due = steady_clock::now();
    for (const std::uint8_t byte : chunk) {
        if (!writeAll(&byte, 1)) return false;
        due += perByte + milliseconds(pacing_.trickleMs);
        if (!stop_.sleepFor(due - steady_clock::now())) return false;
    }
    return true;
}

bool PacedWriter::writeAll(const std::uint8_t* bytes, std::size_t count) {
    std::size_t done = 0;
    int stalled = 0;
    while (done < count) {
        const ssize_t put = isSocket_ ? send(fd_, bytes + done, count - done, MSG_NOSIGNAL)
                                      : write(fd_, bytes + done, count - done);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
            stalled = 0;
            continue;
        }
        if (put < 0 && errno == EINTR) continue;
        if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        if (stalled >= stallMs_ || stop_.requested()) return false;
        pollfd fds[2] = {{fd_, POLLOUT, 0}, {stop_.fd(), POLLIN, 0}};
        poll(fds, 2, 10);
        stalled += 10;
    }
    return true;
}

}  // namespace q93::sim
