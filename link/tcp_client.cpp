#include "link/tcp_client.h"

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

namespace q93 {
namespace {

bool looksNumeric(const std::string& text) {
    return text.find_first_not_of("0123456789.") == std::string::npos;
}

// A route that silently drops the attempt would otherwise hold the caller for the kernel's
// two minutes of retries. An encoder answers within milliseconds on its LAN and well under
// a second over a VPN; four seconds still let the kernel resend a lost first attempt twice
// (after one and after three seconds) before the user is told there is no connection.
constexpr int kConnectWaitMs = 4000;

// Connects without blocking and waits at most kConnectWaitMs for the handshake; true once
// the connection stands.
bool connectWithin(int socket, const sockaddr_in& peer) {
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0)
        return true;
    if (errno != EINPROGRESS)
        return false;
    pollfd waiting{socket, POLLOUT, 0};
    int ready = 0;
    do {
        ready = ::poll(&waiting, 1, kConnectWaitMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0)
        return false;
    int error = 0;
    socklen_t size = sizeof error;
    return getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

}  // namespace

AddressTexts addressTexts(const std::string& hostName, const std::string& ipText) {
    if (hostName.size() > kMaxHostName)
        return {};
    return {hostName, ipText.size() > kMaxIpText ? std::string() : ipText};
}

bool parseDottedAddress(const std::string& text, std::uint32_t& address) {
    in_addr parsed{};
    if (text.empty() || inet_aton(text.c_str(), &parsed) == 0)
        return false;
    // The broadcast address doubles as the "no address" value of the classic conversion.
    if (parsed.s_addr == INADDR_NONE)
        return false;
    address = parsed.s_addr;
    return true;
}

bool resolveHostName(const std::string& name, std::uint32_t& address) {
    if (name.empty())
        return false;
    if (looksNumeric(name))
        return parseDottedAddress(name, address);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return false;
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return true;
}

TcpClient::~TcpClient() {
    shutdownBoth();
    release();
}

int TcpClient::connect() {
    const AddressTexts texts = addressTexts(hostName, ipText);
    // Only the low 16 bits could be sent; a number outside the port range is a typing error
    // that must not quietly reach some other port.
    if (tcpPort <= 0 || tcpPort > 0xFFFF)
        return kConnectFailed;
    sockaddr_in peer{};
    std::uint32_t address = 0;
    if (!resolveHostName(texts.lookUp, address) && !parseDottedAddress(texts.parse, address))
        return kAddressInvalid;
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(tcpPort));
    peer.sin_addr.s_addr = address;
    socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (socket_ < 0)
        return kConnectFailed;
    // The reader thread waits in recv, so the socket blocks again once connected.
    if (!connectWithin(socket_, peer) || fcntl(socket_, F_SETFL, 0) != 0) {
        release();
        return kConnectFailed;
    }
    // Every frame is a whole request waiting for its answer: nothing is gained by holding
    // it back for more bytes.
    const int on = 1;
    setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return 0;
}

void TcpClient::shutdownBoth() {
    if (socket_ >= 0)
        ::shutdown(socket_, SHUT_RDWR);
}

void TcpClient::release() {
    if (socket_ < 0)
        return;
    ::close(socket_);
    socket_ = -1;
}

}  // namespace q93
