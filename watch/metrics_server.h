#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace q93::watch {

// Where the metrics are served: "HOST:PORT", an IPv6 host in brackets ("[::1]:9393").
struct ListenAddress {
    std::string host;
    int port = 0;
};
// false for anything but a host and a port from 0 to 65535 (0: any free port).
bool parseListenAddress(const std::string& text, ListenAddress& address);

// Serves GET /metrics with the text `metrics` gives at that moment, on threads of its own;
// nothing else is answered but "not found", and nothing a client sends changes anything.
class MetricsServer {
public:
    explicit MetricsServer(std::function<std::string()> metrics);
    ~MetricsServer();
    MetricsServer(const MetricsServer&) = delete;
    MetricsServer& operator=(const MetricsServer&) = delete;

    // Binds and starts serving; false with the reason when the address cannot be bound.
    bool start(const ListenAddress& address, std::string* error);
    // The port bound (the one chosen, for port 0).
    int port() const { return port_; }
    // Stops serving and joins the threads.
    void stop();

private:
    std::function<std::string()> metrics_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    std::atomic<bool> served_{false};
    int port_ = 0;
};

}  // namespace q93::watch
