#pragma once

#include <array>
#include <cstdint>

namespace q93::serial {

// Sixteen 2-bit line query results (0 off, 1 on, 2 not available) packed into four bytes,
// lowest bits first, in the order of kLineStatusLayout.
struct LineStatus {
    std::array<std::uint8_t, 4> bytes{};

    int field(int position) const { return (bytes[position / 4] >> (2 * (position % 4))) & 3; }
    void setField(int position, int value) {
        const int shift = 2 * (position % 4);
        std::uint8_t& byte = bytes[position / 4];
        byte = static_cast<std::uint8_t>((byte & ~(3 << shift)) | ((value & 3) << shift));
    }
};

// The line held by each 2-bit field of a LineStatus, field 0 first.
extern const std::array<int, 16> kLineStatusLayout;

// Where a line sits in the record; -1 for a line the record does not hold.
int lineStatusPosition(int line);

inline constexpr std::uint16_t kQueueSentXoff = 1;    // the port has sent XOFF
inline constexpr std::uint16_t kQueueOutputHeld = 2;  // output held by CTS, DSR or XOFF

struct QueueStatus {
    std::int32_t rxConstant = 1;
    std::int32_t rxWaiting = 0;
    std::int32_t rxSize = 0;
    std::int32_t txConstant = 1;
    std::int32_t txWaiting = 0;
    std::int32_t txSize = 0;
    std::uint16_t flags = 0;
};

}  // namespace q93::serial
