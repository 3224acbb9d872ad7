#pragma once

#include <functional>
#include <string>

struct MHD_Daemon;

namespace q93::watch {

// Where the metrics are served: "HOST:PORT", an IPv6 host in brackets ("[::1]:9393").
struct ListenAddress {
    std::string host;
    int port = 0;
};
// false for anything but a host and a port from 0 to 65535 (0: any free port).
bool parseListenAddress(const std::string& text, ListenAddress& address);

// Serves GET /metrics with the text `metrics` gives at that moment, from one event loop on a
// thread of its own (libmicrohttpd): a client that sends nothing, or a byte now and then, holds
// a descriptor but never the loop, so a scrape is answered beside hundreds of idle
// connections. Connections beyond a limit, at most half the process's descriptors, are closed
// at once, so the polls always find descriptors free. Nothing else is answered but "not
// found", and nothing a client sends changes anything.
class MetricsServer {
public:
    explicit MetricsServer(std::function<std::string()> metrics);
    ~MetricsServer();
    MetricsServer(const MetricsServer&) = delete;
    MetricsServer& operator=(const MetricsServer&) = delete;

    // Binds and starts serving; false with the reason when the address cannot be bound (a port
    // that another program listens on is "port in use": no two watches share a port).
    bool start(const ListenAddress& address, std::string* error);
    // The port bound (the one chosen, for port 0).
    int port() const { return port_; }
    // How many clients are served at once; those beyond are refused.
    unsigned connectionLimit() const { return connectionLimit_; }
    // Stops serving, closes every connection and joins the loop's thread.
    void stop();

private:
    friend struct MetricsAnswer;
    std::function<std::string()> metrics_;
    MHD_Daemon* daemon_ = nullptr;
    unsigned connectionLimit_ = 0;
    int port_ = 0;
};

}  // namespace q93::watch
