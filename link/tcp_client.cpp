#include "link/tcp_client.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace q93 {
namespace {

bool looksNumeric(const std::string& text) {
    return text.find_first_not_of("0123456789.") == std::string::npos;
}

}  // namespace

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
    if (hostName.size() > kMaxHostName || ipText.size() > kMaxIpText)
        return kAddressInvalid;
    // Only the low 16 bits could be sent; a number outside the port range is a typing error
    // that must not quietly reach some other port.
    if (tcpPort <= 0 || tcpPort > 0xFFFF)
        return kConnectFailed;
    sockaddr_in peer{};
    std::uint32_t address = 0;
    if (!resolveHostName(hostName, address) && !parseDottedAddress(ipText, address)) {
        return kAddressInvalid;
    }
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(tcpPort));
    peer.sin_addr.s_addr = address;
    socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket_ < 0)
        return kConnectFailed;
    if (::connect(socket_, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
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
