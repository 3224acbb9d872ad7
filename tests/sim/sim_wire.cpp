#include "tests/sim/sim_wire.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "protocol/command_text.h"
#include "protocol/frame_codec.h"
#include "tests/support/deadline.h"

namespace q93::test {

using Clock = TestClock;

SimWire SimWire::connectTcp(const std::string& host, int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, host.c_str(), &address.sin_addr);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return SimWire(-1, true);
    }
    return SimWire(fd, true);
}

SimWire SimWire::openPty(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        termios tio{};
        tcgetattr(fd, &tio);
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
        tcflush(fd, TCIOFLUSH);
    }
    return SimWire(fd, false);
}

SimWire::SimWire(SimWire&& other) noexcept
    : fd_(other.fd_),
      socket_(other.socket_),
      eof_(other.eof_),
      pending_(std::move(other.pending_)) {
    other.fd_ = -1;
}

SimWire::~SimWire() {
    close();
}

void SimWire::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void SimWire::sendCommand(const std::string& commandText) {
    FrameCodec codec;
    codec.buildFrame(commandText);
    sendBytes(Bytes(codec.wireFrame(), codec.wireFrame() + codec.wireLength()));
}

void SimWire::sendBytes(const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size() && fd_ >= 0) {
        const ssize_t put = socket_
                                ? send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL)
                                : write(fd_, bytes.data() + done, bytes.size() - done);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
        } else if (put < 0 && (errno == EINTR || errno == EAGAIN)) {
            pollfd fd{fd_, POLLOUT, 0};
            poll(&fd, 1, 50);
        } else {
            return;
        }
    }
}

bool SimWire::readSome(int timeoutMs) {
    if (fd_ < 0 || eof_)
        return false;
    pollfd fd{fd_, POLLIN, 0};
    if (poll(&fd, 1, timeoutMs) <= 0)
        return false;
    std::uint8_t buffer[4096];
    const ssize_t got =
        socket_ ? recv(fd_, buffer, sizeof buffer, 0) : read(fd_, buffer, sizeof buffer);
    if (got <= 0) {
        if (got == 0 || errno != EINTR)
            eof_ = true;
        return false;
    }
    pending_.insert(pending_.end(), buffer, buffer + got);
    return true;
}

std::optional<Bytes> SimWire::receiveFrame(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto start = std::find(pending_.begin(), pending_.end(), kStartByte);
        if (start != pending_.end()) {
            const auto end = std::find(start + 1, pending_.end(), kEndByte);
            if (end != pending_.end()) {
                Bytes frame(start, end + 1);
                pending_.erase(pending_.begin(), end + 1);
                return frame;
            }
        }
        const int left = millisecondsLeft(deadline);
        if (left == 0)
            return std::nullopt;
        if (!readSome(left) && (eof_ || fd_ < 0))
            return std::nullopt;
    }
}

Bytes SimWire::receiveBytes(std::size_t count, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (pending_.size() < count) {
        const int left = millisecondsLeft(deadline);
        if (left == 0)
            break;
        if (!readSome(left) && (eof_ || fd_ < 0))
            break;
    }
    const std::size_t take = std::min(count, pending_.size());
    Bytes out(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(take));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(take));
    return out;
}

bool SimWire::peerClosed(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!eof_) {
        const int left = millisecondsLeft(deadline);
        if (left == 0)
            return false;
        readSome(left);
    }
    return true;
}

Bytes unstuffed(const Bytes& raw) {
    Bytes frame = raw;
    const int length =
        unstuffFrame(frame.data(), static_cast<int>(frame.size()), static_cast<int>(frame.size()));
    if (length < 0)
        return {};
    frame.resize(static_cast<std::size_t>(length));
    return frame;
}

Bytes payloadOf(const Bytes& raw) {
    const Bytes frame = unstuffed(raw);
    if (frame.size() < 8)
        return {};
    return Bytes(frame.begin() + 5, frame.end() - 3);
}

bool isAck(const Bytes& raw) {
    const Bytes frame = unstuffed(raw);
    return frame.size() == 10 && frame[5] == 0x18 && frame[6] == 0x00 &&
           checksumMatches(frame.data(), static_cast<int>(frame.size()));
}

float floatAt(const Bytes& frame, std::size_t offset) {
    const std::uint32_t bits =
        std::uint32_t{frame.at(offset)} | std::uint32_t{frame.at(offset + 1)} << 8 |
        std::uint32_t{frame.at(offset + 2)} << 16 | std::uint32_t{frame.at(offset + 3)} << 24;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

Bytes fromHex(const std::string& commaSeparated) {
    return commandPayload(commaSeparated);
}

}  // namespace q93::test
