#pragma once

#include <functional>
#include <memory>
#include <string>

#include "watch/web_config.h"

struct MHD_Daemon;
struct sockaddr;

namespace q93::watch {

class PasswordCheck;

// Where the metrics are served: "HOST:PORT", an IPv6 host in brackets ("[::1]:9393").
struct ListenAddress {
    std::string host;
    int port = 0;
};
// false for anything but a host and a port from 0 to 65535 (0: any free port).
bool parseListenAddress(const std::string& text, ListenAddress& address);
// True for an address of this machine alone: 127.0.0.0/8, ::1, and 127.x mapped into IPv6.
// 0.0.0.0 and :: reach every interface.
bool loopbackAddress(const sockaddr& address);

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

    // Serves over TLS with `tls` when the configuration names a certificate, and answers only
    // requests that bring one of its users' passwords (401 otherwise) when it names users;
    // before start().
    void secure(const WebConfig& config, TlsFiles tls);

    // Binds and starts serving; false with the reason when the address cannot be bound (a port
    // that another program listens on is "port in use": no two watches share a port).
    bool start(const ListenAddress& address, std::string* error);
    // The port bound (the one chosen, for port 0).
    int port() const { return port_; }
    // True when the address bound is on this machine alone (127.0.0.0/8, ::1).
    bool loopbackOnly() const { return loopbackOnly_; }
    // True when serving over TLS.
    bool tls() const { return !tls_.cert.empty(); }
    // How many clients are served at once; those beyond are refused.
    unsigned connectionLimit() const { return connectionLimit_; }
    // Stops serving, closes every connection and joins the loop's thread.
    void stop();

private:
    friend struct MetricsAnswer;
    std::function<std::string()> metrics_;
    TlsFiles tls_;                              // empty: plain HTTP
    std::unique_ptr<PasswordCheck> passwords_;  // null: no password asked
    MHD_Daemon* daemon_ = nullptr;
    unsigned connectionLimit_ = 0;
    int port_ = 0;
    bool loopbackOnly_ = false;
};

}  // namespace q93::watch
