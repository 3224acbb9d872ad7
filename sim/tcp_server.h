#pragma once

#include <atomic>
#include <list>
#include <memory>
#include <string>
#include <thread>

#include "sim/encoder_service.h"
#include "sim/paced_writer.h"
#include "base/stop_signal.h"

namespace q93::sim {

// The encoder's network interface: accepts connections one after another (the tool opens
// one per operation) and serves each on its own thread, so a second client at the same
// time is served too. Every command is acknowledged. Threads are joined, never detached.
class TcpServer {
public:
    static constexpr int kMaxClients = 64;

    TcpServer(EncoderService& service, const Pacing& pacing, const StopSignal& stop)
        : service_(service), pacing_(pacing), stop_(stop) {}
    ~TcpServer();
    TcpServer(const TcpServer&) = delete;
    TcpServer& operator=(const TcpServer&) = delete;

    // Put before the connection's name in log lines ("encoder3 tcp#1"), so that the lines of
    // a fleet tell which encoder they come from.
    void setLogName(std::string name) { logName_ = std::move(name); }

    // Binds and listens; port 0 picks a free port. False with a reason on failure.
    bool listen(const std::string& host, int port, std::string* error);
    // The address actually bound, numeric ("127.0.0.1", 40123).
    const std::string& host() const { return host_; }
    int port() const { return port_; }

    // Accepts and serves until the stop is requested; then closes every connection and
    // joins every thread.
    void run();

private:
    struct Client {
        std::thread thread;
        std::unique_ptr<std::atomic<bool>> done;
    };
    void serve(int fd, int number, std::atomic<bool>* done);
    void reapFinished();

    EncoderService& service_;
    Pacing pacing_;
    const StopSignal& stop_;
    int listenFd_ = -1;
    std::string host_;
    int port_ = 0;
    int connections_ = 0;
    std::string logName_;
    std::list<Client> clients_;
};

}  // namespace q93::sim
