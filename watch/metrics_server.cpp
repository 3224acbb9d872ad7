#include "watch/metrics_server.h"

#include <microhttpd.h>
#include <netdb.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <vector>

#include "base/held_signals.h"
#include "watch/password_check.h"

namespace q93::watch {
namespace {

constexpr const char* kContentType = "text/plain; version=0.0.4; charset=utf-8";
// A client that sends nothing for this long is closed; one that trickles a byte now and then
// keeps its connection, but never the loop.
constexpr unsigned kClientTimeoutSeconds = 5;
// More clients than a room of scrapers and curious people ever opens at once.
constexpr unsigned kMostClients = 1000;
constexpr int kBacklog = 64;
// The realm a browser shows when it asks for the password.
constexpr const char* kRealm = "q93ctl watch";

// Half the descriptors this process may open go to clients, the rest stay for the polls, the
// lock folders and the files; the soft limit is first raised as far as the hard one allows.
unsigned clientLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return kMostClients / 8;
    if (limit.rlim_cur < limit.rlim_max) {
        rlimit raised = limit;
        raised.rlim_cur = std::min<rlim_t>(limit.rlim_max, 4 * kMostClients);
        if (raised.rlim_cur > limit.rlim_cur && ::setrlimit(RLIMIT_NOFILE, &raised) == 0)
            limit = raised;
    }
    const rlim_t half = limit.rlim_cur == RLIM_INFINITY ? kMostClients : limit.rlim_cur / 2;
    return static_cast<unsigned>(std::clamp<rlim_t>(half, 1, kMostClients));
}

// A listening socket on the address, or -1 with the reason. Only SO_REUSEADDR: a port that
// another program listens on stays refused, so two watches never share one.
int listenOn(const ListenAddress& address, std::string* error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(address.port);
    const std::string where = address.host + ":" + port;
    if (const int status = ::getaddrinfo(address.host.c_str(), port.c_str(), &hints, &found);
        status != 0) {
        *error = "cannot listen on " + where + ": " + ::gai_strerror(status);
        return -1;
    }
    int fd = -1;
    int cause = 0;
    for (addrinfo* candidate = found; candidate != nullptr && fd < 0;
         candidate = candidate->ai_next) {
        fd = ::socket(candidate->ai_family, candidate->ai_socktype | SOCK_CLOEXEC,
                      candidate->ai_protocol);
        if (fd < 0) {
            cause = errno;
            continue;
        }
        const int yes = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (::bind(fd, candidate->ai_addr, candidate->ai_addrlen) != 0 ||
            ::listen(fd, kBacklog) != 0) {
            cause = errno;
            ::close(fd);
            fd = -1;
        }
    }
    ::freeaddrinfo(found);
    if (fd < 0)
        *error = "cannot listen on " + where + ": " +
                 (cause == EADDRINUSE ? std::string("port in use") : std::strerror(cause));
    return fd;
}

int boundPort(int fd) {
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0)
        return -1;
    if (bound.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port);
    return ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
}

// The address bound, the host as given resolved: a name such as this machine's own may stand
// for 127.0.1.1.
bool boundToLoopback(int fd) {
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    return ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) == 0 &&
           loopbackAddress(*reinterpret_cast<sockaddr*>(&bound));
}

MHD_Result respond(MHD_Connection* connection, unsigned status, const std::string& body,
                   const char* contentType) {
    MHD_Response* response = MHD_create_response_from_buffer(
        body.size(), const_cast<char*>(body.data()), MHD_RESPMEM_MUST_COPY);
    if (response == nullptr)
        return MHD_NO;
    if (contentType != nullptr)
        MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, contentType);
    const MHD_Result queued = MHD_queue_response(connection, status, response);
    MHD_destroy_response(response);
    return queued;
}

}  // namespace

struct MetricsAnswer {
    static bool allowed(PasswordCheck& passwords, MHD_Connection* connection) {
        char* password = nullptr;
        char* user = MHD_basic_auth_get_username_password(connection, &password);
        const bool right =
            user != nullptr && password != nullptr && passwords.accepts(user, password);
        if (password != nullptr)
            std::memset(password, 0, std::strlen(password));
        MHD_free(user);
        MHD_free(password);
        return right;
    }

    // 401 with "WWW-Authenticate: Basic realm=...", so that a browser asks and Prometheus
    // reports the scrape as unauthorized.
    static MHD_Result refuse(MHD_Connection* connection) {
        static const char kBody[] = "Unauthorized\n";
        MHD_Response* response = MHD_create_response_from_buffer(
            sizeof kBody - 1, const_cast<char*>(kBody), MHD_RESPMEM_PERSISTENT);
        if (response == nullptr)
            return MHD_NO;
        const MHD_Result queued = MHD_queue_basic_auth_fail_response(connection, kRealm, response);
        MHD_destroy_response(response);
        return queued;
    }

    static MHD_Result answer(void* self, MHD_Connection* connection, const char* url,
                             const char* method, const char*, const char*, size_t* uploadSize,
                             void** state) {
        // The first call brings the headers only; a body, if any, is taken and dropped.
        if (*state == nullptr) {
            *state = self;
            return MHD_YES;
        }
        if (*uploadSize != 0) {
            *uploadSize = 0;
            return MHD_YES;
        }
        auto* server = static_cast<MetricsServer*>(self);
        // Before anything else, as the exporters do: without the password not even "not
        // found" is said.
        if (server->passwords_ != nullptr && !allowed(*server->passwords_, connection))
            return refuse(connection);
        const bool read = std::strcmp(method, MHD_HTTP_METHOD_GET) == 0 ||
                          std::strcmp(method, MHD_HTTP_METHOD_HEAD) == 0;
        if (!read || std::strcmp(url, "/metrics") != 0)
            return respond(connection, MHD_HTTP_NOT_FOUND, "", nullptr);
        return respond(connection, MHD_HTTP_OK, server->metrics_(), kContentType);
    }
};

bool loopbackAddress(const sockaddr& address) {
    if (address.sa_family == AF_INET6) {
        const in6_addr& ip = reinterpret_cast<const sockaddr_in6&>(address).sin6_addr;
        return IN6_IS_ADDR_LOOPBACK(&ip) || (IN6_IS_ADDR_V4MAPPED(&ip) && ip.s6_addr[12] == 127);
    }
    if (address.sa_family == AF_INET)
        return (ntohl(reinterpret_cast<const sockaddr_in&>(address).sin_addr.s_addr) >> 24) == 127;
    return false;
}

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

MetricsServer::MetricsServer(std::function<std::string()> metrics) : metrics_(std::move(metrics)) {}

void MetricsServer::secure(const WebConfig& config, TlsFiles tls) {
    tls_ = std::move(tls);
    passwords_ = config.users.empty() ? nullptr : std::make_unique<PasswordCheck>(config.users);
}

MetricsServer::~MetricsServer() {
    stop();
}

bool MetricsServer::start(const ListenAddress& address, std::string* error) {
    const int fd = listenOn(address, error);
    if (fd < 0)
        return false;
    port_ = boundPort(fd);
    loopbackOnly_ = boundToLoopback(fd);
    connectionLimit_ = clientLimit();
    const bool tls = !tls_.cert.empty();
    if (tls && MHD_is_feature_supported(MHD_FEATURE_TLS) != MHD_YES) {
        ::close(fd);
        *error = "cannot serve TLS: this libmicrohttpd was built without it";
        return false;
    }
    std::vector<MHD_OptionItem> options{
        {MHD_OPTION_LISTEN_SOCKET, fd, nullptr},
        {MHD_OPTION_CONNECTION_LIMIT, static_cast<intptr_t>(connectionLimit_), nullptr},
        {MHD_OPTION_CONNECTION_TIMEOUT, kClientTimeoutSeconds, nullptr}};
    if (tls) {
        options.push_back({MHD_OPTION_HTTPS_MEM_KEY, 0, const_cast<char*>(tls_.key.c_str())});
        options.push_back({MHD_OPTION_HTTPS_MEM_CERT, 0, const_cast<char*>(tls_.cert.c_str())});
    }
    options.push_back({MHD_OPTION_END, 0, nullptr});
    // The ending signals go to the polling loop, never to the serving thread, which takes
    // its mask from this one. No Date header: Prometheus has no use for it, and the time zone lock
    // it would take on the serving thread is one fewer lock that a process forked meanwhile could
    // inherit held.
    EndSignalsTaken::startThread([&] {
        daemon_ = MHD_start_daemon(MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_USE_ITC |
                                       MHD_USE_SUPPRESS_DATE_NO_CLOCK | (tls ? MHD_USE_TLS : 0),
                                   0, nullptr, nullptr, &MetricsAnswer::answer, this,
                                   MHD_OPTION_ARRAY, options.data(), MHD_OPTION_END);
    });
    if (daemon_ == nullptr) {
        ::close(fd);
        *error = "cannot serve on " + address.host + ":" + std::to_string(address.port);
        return false;
    }
    return true;
}

void MetricsServer::stop() {
    if (daemon_ == nullptr)
        return;
    // Closes the listening socket it was given, every connection, and joins its thread.
    MHD_stop_daemon(daemon_);
    daemon_ = nullptr;
}

}  // namespace q93::watch
