#pragma once

#include <cstdint>

namespace q93::serial {

// Flow-control modes, numbered after the lines that carry each handshake.
inline constexpr int FLOW_NONE = 0;
inline constexpr int FLOW_XONXOFF = 1;
inline constexpr int LINE_DTR = 3;
inline constexpr int LINE_RTS = 4;
inline constexpr int LINE_CTS = 12;
inline constexpr int LINE_DSR = 13;
inline constexpr int LINE_DCD = 15;

// The character formats a port takes; others are refused with CL_ERR_DATABITS or
// CL_ERR_STOPBITS.
inline constexpr int kFewestDataBits = 4;
inline constexpr int kMostDataBits = 8;
constexpr bool dataBitsSupported(int bits) {
    return bits >= kFewestDataBits && bits <= kMostDataBits;
}
constexpr bool stopBitsSupported(int bits) {
    return bits == 1 || bits == 2;
}

// A port's line and handshake, read and applied whole: a caller keeps the value it found
// and applies it again to put the port back.
struct PortSettings {
    std::int32_t baud = 19200;
    char parity = 'N';  // 'N', 'O', 'E', 'M' or 'S'
    int dataBits = 8;
    int stopBits = 1;  // 1 or 2; with five data bits the line uses one and a half, read as 1
    int inboundFlow = FLOW_NONE;   // FLOW_NONE, FLOW_XONXOFF or LINE_RTS
    int outboundFlow = FLOW_NONE;  // FLOW_NONE, FLOW_XONXOFF or LINE_CTS

    friend bool operator==(const PortSettings&, const PortSettings&) = default;
};

}  // namespace q93::serial
