#include "link/ping.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>

#include "link/icmp_echo.h"
#include "link/tcp_client.h"

namespace q93 {
namespace {

using Clock = std::chrono::steady_clock;

// Room for the largest IP header, the ICMP header and far more data than a request carries,
// so that an oversized reply is still seen as ours and refused.
constexpr std::size_t kReceiveBuffer = 2048;

class EchoSocket {
public:
    EchoSocket() {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd_ < 0) {
            fd_ = ::socket(AF_INET, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
            raw_ = true;
        }
    }
    ~EchoSocket() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    EchoSocket(const EchoSocket&) = delete;
    EchoSocket& operator=(const EchoSocket&) = delete;

    int fd() const { return fd_; }
    // A raw socket delivers the IP header too, and every echo reply the machine receives.
    bool raw() const { return raw_; }

private:
    int fd_ = -1;
    bool raw_ = false;
};

// Each ping its own sequence number, so that two pings of this process seen by raw sockets
// cannot take each other's replies.
std::atomic<std::uint16_t> nextSequence{1};

int millisecondsSince(Clock::time_point start) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

int millisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// The ICMP message of a received datagram, or nullptr when it is too short to hold one.
const std::uint8_t* icmpMessage(const std::uint8_t* datagram, std::size_t& length, bool raw) {
    if (!raw)
        return datagram;
    if (length < 1)
        return nullptr;
    const std::size_t ipHeader = static_cast<std::size_t>(datagram[0] & 0x0F) * 4;
    if (length < ipHeader)
        return nullptr;
    length -= ipHeader;
    return datagram + ipHeader;
}

}  // namespace

bool pingHost(const std::string& host, std::string& address, int& echoTimeMs, int ttl,
              int timeoutMs, int dataSize) {
    std::uint32_t peerAddress = 0;
    if (!resolveHostName(host, peerAddress))
        return false;
    EchoSocket socket;
    if (socket.fd() < 0)
        return false;
    if (setsockopt(socket.fd(), IPPROTO_IP, IP_TTL, &ttl, sizeof ttl) != 0)
        return false;

    const std::size_t size = static_cast<std::uint8_t>(dataSize);
    const auto identifier = static_cast<std::uint16_t>(getpid());
    const std::uint16_t sequence = nextSequence.fetch_add(1);
    const std::vector<std::uint8_t> request = buildEchoRequest(identifier, sequence, size);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = peerAddress;
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + std::chrono::milliseconds(timeoutMs);
    if (::sendto(socket.fd(), request.data(), request.size(), 0,
                 reinterpret_cast<const sockaddr*>(&peer),
                 sizeof peer) != static_cast<ssize_t>(request.size())) {
        return false;
    }

    std::uint8_t datagram[kReceiveBuffer];
    for (;;) {
        pollfd waiting{socket.fd(), POLLIN, 0};
        const int ready = ::poll(&waiting, 1, millisecondsLeft(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        sockaddr_in from{};
        socklen_t fromSize = sizeof from;
        const ssize_t received = ::recvfrom(socket.fd(), datagram, sizeof datagram, 0,
                                            reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (received < 0) {
            if (errno == EAGAIN || errno == EINTR)
                continue;
            return false;
        }
        std::size_t length = static_cast<std::size_t>(received);
        const std::uint8_t* message = icmpMessage(datagram, length, socket.raw());
        if (message == nullptr)
            continue;
        switch (matchEchoReply(message, length, identifier, sequence, size, socket.raw())) {
            case EchoReplyMatch::NotOurs:
                continue;
            case EchoReplyMatch::Wrong:
                return false;
            case EchoReplyMatch::Good: {
                char text[INET_ADDRSTRLEN] = {};
                inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
                address = text;
                echoTimeMs = millisecondsSince(start);
                return true;
            }
        }
    }
}

}  // namespace q93
