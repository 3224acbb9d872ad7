#include "sim/tcp_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/line_session.h"
#include "sim/sim_log.h"

namespace q93::sim {

TcpServer::~TcpServer() {
    for (Client& c : clients_) {
        if (c.thread.joinable())
            c.thread.join();
    }
    if (listenFd_ >= 0)
        close(listenFd_);
}

bool TcpServer::listen(const std::string& host, int port, std::string* error) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    const int rc =
        getaddrinfo(host.empty() ? nullptr : host.c_str(), service.c_str(), &hints, &found);
    if (rc != 0 || found == nullptr) {
        if (error)
            *error = "cannot resolve '" + host + "': " + gai_strerror(rc);
        return false;
    }
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        freeaddrinfo(found);
        if (error)
            *error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (bind(fd, found->ai_addr, found->ai_addrlen) != 0 || ::listen(fd, 64) != 0) {
        if (error)
            *error = "cannot listen on " + host + ":" + service + ": " + std::strerror(errno);
        freeaddrinfo(found);
        close(fd);
        return false;
    }
    freeaddrinfo(found);
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &bound.sin_addr, text, sizeof text);
    host_ = text;
    port_ = ntohs(bound.sin_port);
    listenFd_ = fd;
    return true;
}

void TcpServer::reapFinished() {
    for (auto it = clients_.begin(); it != clients_.end();) {
        if (it->done->load()) {
            it->thread.join();
            it = clients_.erase(it);
        } else {
            ++it;
        }
    }
}

void TcpServer::run() {
    while (!stop_.requested()) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {stop_.fd(), POLLIN, 0}};
        const int n = poll(fds, 2, 200);
        reapFinished();
        if (n <= 0 || !(fds[0].revents & POLLIN))
            continue;
        // Take every connection that is waiting, so a burst of clients never fills the backlog.
        for (;;) {
            sockaddr_in peer{};
            socklen_t length = sizeof peer;
            const int fd = accept4(listenFd_, reinterpret_cast<sockaddr*>(&peer), &length,
                                   SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd < 0)
                break;
            const int number = ++connections_;
            if (static_cast<int>(clients_.size()) >= kMaxClients)
                reapFinished();
            if (static_cast<int>(clients_.size()) >= kMaxClients) {
                logLine(logName_ + "tcp#" + std::to_string(number) + ": refused, " +
                        std::to_string(kMaxClients) + " connections already open");
                close(fd);
                continue;
            }
            const int one = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            Client& client = clients_.emplace_back();
            client.done = std::make_unique<std::atomic<bool>>(false);
            client.thread = std::thread(&TcpServer::serve, this, fd, number, client.done.get());
        }
    }
    for (Client& c : clients_) {
        if (c.thread.joinable())
            c.thread.join();
    }
    clients_.clear();
}

void TcpServer::serve(int fd, int number, std::atomic<bool>* done) {
    const std::string where = logName_ + "tcp#" + std::to_string(number);
    logVerbose(where + ": connected");
    PacedWriter writer(fd, true, pacing_, stop_);
    LineSession session(service_, writer, true, where);
    std::uint8_t buffer[4096];
    for (;;) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {stop_.fd(), POLLIN, 0}};
        const int n = poll(fds, 2, -1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || (fds[1].revents & POLLIN))
            break;
        if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0) {
            session.onPeerGone();
            logVerbose(where + ": closed by the peer");
            break;
        }
        if (!session.onBytes(buffer, static_cast<std::size_t>(got))) {
            logVerbose(where + ": closed by the encoder");
            break;
        }
    }
    shutdown(fd, SHUT_RDWR);
    close(fd);
    done->store(true);
}

}  // namespace q93::sim
