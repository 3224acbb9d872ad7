#pragma once

#include <cstdint>
#include <string>

namespace q93 {

// Results of TcpClient::connect besides 0.
inline constexpr int kConnectFailed = -1;   // no socket, or the encoder refused / is unreachable
inline constexpr int kAddressInvalid = -3;  // neither the name nor the IP text gave an address

// Longest host name and IP text the client takes; longer ones are never cut, so that a cut
// text can never reach a different machine.
inline constexpr std::size_t kMaxHostName = 254;
inline constexpr std::size_t kMaxIpText = 21;

// The texts connect works from: `lookUp` goes to resolveHostName, `parse` to
// parseDottedAddress; an empty one takes no step. The connection passes one text as both,
// so an IP text too long for an address only skips the numeric parse and the name is still
// looked up; a host name too long for its field gives neither.
struct AddressTexts {
    std::string lookUp;
    std::string parse;
};
AddressTexts addressTexts(const std::string& hostName, const std::string& ipText);

// The socket half of the TCP link: one IPv4 stream socket to the encoder.
class TcpClient {
public:
    TcpClient() = default;
    ~TcpClient();
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;

    std::string hostName;
    std::string ipText;
    std::int32_t tcpPort = 0;

    // Resolves hostName (then ipText) and connects, waiting a few seconds at most for the
    // encoder to take the connection; 0, kConnectFailed or kAddressInvalid.
    int connect();
    // Stops both directions, so a thread blocked in recv returns 0; the descriptor stays.
    void shutdownBoth();
    // Releases the descriptor; call only when no thread uses it any more.
    void release();

    int socket() const { return socket_; }

private:
    int socket_ = -1;
};

// The IPv4 address (network byte order) a host name or dotted text gives, or false. A text
// of digits and dots is only ever parsed, never looked up, so a mistyped address such as
// 10.0.0.300 fails here without a single packet leaving the machine.
bool resolveHostName(const std::string& name, std::uint32_t& address);
bool parseDottedAddress(const std::string& text, std::uint32_t& address);

}  // namespace q93
