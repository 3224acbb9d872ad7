#include "watch/metrics_server.h"

#include <httplib.h>
#include <signal.h>

#include <charconv>
#include <chrono>

namespace q93::watch {
namespace {

constexpr const char* kContentType = "text/plain; version=0.0.4; charset=utf-8";
// A scraper asks a few times a minute; two threads serve that and a second one at once.
constexpr std::size_t kServingThreads = 2;
// A client that sends nothing, or reads nothing, does not hold a thread for long.
constexpr time_t kClientTimeoutSeconds = 5;
// How often stop() asks a server that has not begun to listen yet.
constexpr auto kStopRetry = std::chrono::milliseconds(10);

// The ending signals go to the polling loop, never to a serving thread; the threads the
// server starts take this mask from the one that starts them.
void blockEndingSignals() {
    sigset_t ending;
    sigemptyset(&ending);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&ending, signal);
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
}

}  // namespace

bool parseListenAddress(const std::string& text, ListenAddress& address) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0)
        return false;
    std::string host = text.substr(0, colon);
    if (host.front() == '[') {
        if (host.size() < 3 || host.back() != ']')
            return false;
        host = host.substr(1, host.size() - 2);
    } else if (host.find(':') != std::string::npos) {
        return false;  // an IPv6 host needs its brackets
    }
    const std::string port = text.substr(colon + 1);
    int value = -1;
    const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (port.empty() || ec != std::errc{} || end != port.data() + port.size() || value < 0 ||
        value > 65535)
        return false;
    address = {host, value};
    return true;
}

MetricsServer::MetricsServer(std::function<std::string()> metrics)
    : metrics_(std::move(metrics)), server_(std::make_unique<httplib::Server>()) {
    server_->new_task_queue = [] { return new httplib::ThreadPool(kServingThreads); };
    server_->set_read_timeout(kClientTimeoutSeconds);
    server_->set_write_timeout(kClientTimeoutSeconds);
    server_->set_keep_alive_timeout(kClientTimeoutSeconds);
    server_->set_payload_max_length(0);
    server_->Get("/metrics", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(metrics_(), kContentType);
    });
}

MetricsServer::~MetricsServer() {
    stop();
}

bool MetricsServer::start(const ListenAddress& address, std::string* error) {
    if (address.port == 0) {
        port_ = server_->bind_to_any_port(address.host);
    } else if (server_->bind_to_port(address.host, address.port)) {
        port_ = address.port;
    } else {
        port_ = -1;
    }
    if (port_ <= 0) {
        *error = "cannot listen on " + address.host + ":" + std::to_string(address.port);
        return false;
    }
    thread_ = std::thread([this] {
        blockEndingSignals();
        server_->listen_after_bind();
        served_ = true;
    });
    return true;
}

void MetricsServer::stop() {
    if (!thread_.joinable())
        return;
    // A stop before the thread began listening would be lost: ask until it has ended.
    while (!served_) {
        server_->stop();
        std::this_thread::sleep_for(kStopRetry);
    }
    thread_.join();
}

}  // namespace q93::watch
