#include "tests/link/tcp_loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "protocol/frame_codec.h"

namespace q93::test {
namespace {

int listenOnLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(fd, 4) != 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port = ntohs(address.sin_port);
    return fd;
}

}  // namespace

Bytes encoderFrame(const Bytes& payload, std::uint8_t sequence) {
    const Bytes frame = composeFrame(payload, sequence);
    Bytes wire(frame.size() * 2);
    const int length = stuffFrame(frame.data(), static_cast<int>(frame.size()), wire.data(),
                                  static_cast<int>(wire.size()));
    wire.resize(static_cast<std::size_t>(length));
    return wire;
}

int closedLoopbackPort() {
    int port = 0;
    ::close(listenOnLoopback(port));
    return port;
}

LoopbackServer::LoopbackServer(Responder responder) : responder_(std::move(responder)) {
    listener_ = listenOnLoopback(port_);
    if (pipe(wake_) != 0)
        throw std::runtime_error("pipe failed");
    thread_ = std::thread(&LoopbackServer::serve, this);
}

LoopbackServer::~LoopbackServer() {
    const char stop = 1;
    (void)!write(wake_[1], &stop, 1);
    thread_.join();
    if (client_ >= 0)
        ::close(client_);
    ::close(listener_);
    ::close(wake_[0]);
    ::close(wake_[1]);
}

void LoopbackServer::send(const Bytes& bytes) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    int fd = -1;
    while (fd < 0 && std::chrono::steady_clock::now() < deadline) {
        {
            std::lock_guard lock(mutex_);
            fd = client_;
        }
        if (fd < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (fd >= 0)
        (void)!::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

void LoopbackServer::dropClient() {
    int dropped = -1;
    {
        std::lock_guard lock(mutex_);
        dropped = client_;
        if (dropped >= 0)
            ::shutdown(dropped, SHUT_RDWR);
    }
    // Until the server has let go of the old connection, a send for the next client would
    // still go to the old one and be lost; wait (bounded) for it to notice.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (dropped >= 0 && std::chrono::steady_clock::now() < deadline) {
        {
            std::lock_guard lock(mutex_);
            if (client_ != dropped)
                return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

std::vector<Bytes> LoopbackServer::requests() {
    std::lock_guard lock(mutex_);
    return requests_;
}

void LoopbackServer::handle(const Bytes& frame) {
    Bytes copy = frame;
    const int length =
        unstuffFrame(copy.data(), static_cast<int>(copy.size()), static_cast<int>(copy.size()));
    if (length < kMinFrameLength)
        return;
    const Bytes payload(copy.begin() + 5, copy.begin() + length - 3);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(payload);
    }
    if (responder_)
        send(responder_(payload));
}

void LoopbackServer::serve() {
    Bytes pending;
    for (;;) {
        int fd;
        {
            std::lock_guard lock(mutex_);
            fd = client_;
        }
        pollfd fds[2] = {{wake_[0], POLLIN, 0}, {fd < 0 ? listener_ : fd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0)
            continue;
        if (fds[0].revents != 0)
            return;
        if (fd < 0) {
            const int accepted = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            std::lock_guard lock(mutex_);
            client_ = accepted;
            continue;
        }
        std::uint8_t chunk[256];
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got <= 0) {
            // The client left: wait for the next one, as an encoder does.
            std::lock_guard lock(mutex_);
            ::close(client_);
            client_ = -1;
            pending.clear();
            continue;
        }
        for (ssize_t i = 0; i < got; ++i) {
            if (pending.empty() && chunk[i] != kStartByte)
                continue;
            pending.push_back(chunk[i]);
            if (chunk[i] == kEndByte) {
                handle(pending);
                pending.clear();
            }
        }
    }
}

}  // namespace q93::test
