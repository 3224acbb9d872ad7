#include "link/icmp_echo.h"

#include <algorithm>

namespace q93 {
namespace {

constexpr std::uint8_t kEchoRequest = 8;
constexpr std::uint8_t kEchoReply = 0;

std::uint16_t internetChecksum(const std::vector<std::uint8_t>& bytes) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const std::uint32_t low = i + 1 < bytes.size() ? bytes[i + 1] : 0;
        sum += (static_cast<std::uint32_t>(bytes[i]) << 8) | low;
    }
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

std::uint16_t wordAt(const std::uint8_t* bytes, std::size_t offset) {
    return static_cast<std::uint16_t>((bytes[offset] << 8) | bytes[offset + 1]);
}

void putWord(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value >> 8);
    bytes[offset + 1] = static_cast<std::uint8_t>(value);
}

}  // namespace

std::vector<std::uint8_t> buildEchoRequest(std::uint16_t identifier, std::uint16_t sequence,
                                           std::size_t dataSize) {
    std::vector<std::uint8_t> request(kIcmpHeaderSize + dataSize, kEchoFill);
    request[0] = kEchoRequest;
    request[1] = 0;
    putWord(request, 2, 0);
    putWord(request, 4, identifier);
    putWord(request, 6, sequence);
    putWord(request, 2, internetChecksum(request));
    return request;
}

EchoReplyMatch matchEchoReply(const std::uint8_t* message, std::size_t length,
                              std::uint16_t identifier, std::uint16_t sequence,
                              std::size_t dataSize, bool checkIdentifier) {
    if (length < kIcmpHeaderSize || message[0] != kEchoReply || message[1] != 0)
        return EchoReplyMatch::NotOurs;
    if (wordAt(message, 6) != sequence || (checkIdentifier && wordAt(message, 4) != identifier))
        return EchoReplyMatch::NotOurs;
    const std::uint8_t* data = message + kIcmpHeaderSize;
    const std::size_t received = length - kIcmpHeaderSize;
    if (received != dataSize ||
        !std::all_of(data, data + received, [](std::uint8_t byte) { return byte == kEchoFill; })) {
        return EchoReplyMatch::Wrong;
    }
    return EchoReplyMatch::Good;
}

}  // namespace q93
