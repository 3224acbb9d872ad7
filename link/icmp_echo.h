#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace q93 {

// The ping's request data: every byte this character, so that a reply can be checked.
inline constexpr std::uint8_t kEchoFill = 'E';
inline constexpr std::size_t kIcmpHeaderSize = 8;

// An ICMP echo request (type 8, code 0) with its checksum and `dataSize` bytes of 'E'.
std::vector<std::uint8_t> buildEchoRequest(std::uint16_t identifier, std::uint16_t sequence,
                                           std::size_t dataSize);

enum class EchoReplyMatch {
    NotOurs,  // another message (our own request on loopback, someone else's reply)
    Good,     // the reply to our request, carrying the data we sent
    Wrong,    // the reply to our request, but with other data or another size
};

// Classifies one received ICMP message, starting at its ICMP header. An echo socket
// (SOCK_DGRAM) has the kernel choose and filter the identifier, so it is compared only
// when `checkIdentifier` is set.
EchoReplyMatch matchEchoReply(const std::uint8_t* message, std::size_t length,
                              std::uint16_t identifier, std::uint16_t sequence,
                              std::size_t dataSize, bool checkIdentifier);

}  // namespace q93
