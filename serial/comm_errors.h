#pragma once

// The serial port library's result codes and line identifiers. Operations return 0 (or a
// count) for success and one of these negative codes for failure; nothing is thrown.

namespace q93::serial {

inline constexpr int CL_ERR_FAIL = -801;         // general failure; a companion has no port
inline constexpr int CL_ERR_NODATA = -802;       // no character available / time-out
inline constexpr int CL_ERR_UNSUPPORTED = -803;  // not supported by this implementation
inline constexpr int CL_ERR_SHORTWRITE = -805;   // the device took fewer bytes than asked
inline constexpr int CL_ERR_BREAK = -827;        // setting or clearing the break state failed
inline constexpr int CL_ERR_DEVICE = -828;       // device error
inline constexpr int CL_ERR_CLOSE = -829;        // closing the device failed
inline constexpr int CL_ERR_INFLOW = -830;       // invalid inbound flow-control mode
inline constexpr int CL_ERR_OUTFLOW = -832;      // invalid outbound flow-control mode
inline constexpr int CL_ERR_NOMEM = -836;        // the port's records could not be allocated
inline constexpr int CL_ERR_INUSE = -838;        // the port is held by another port object
inline constexpr int CL_ERR_BAUD = -839;         // bad baud rate
inline constexpr int CL_ERR_PARITY = -840;       // parity character not in the parity table
inline constexpr int CL_ERR_STOPBITS = -841;     // stop bits not 1 or 2
inline constexpr int CL_ERR_DATABITS = -842;     // data bits outside 4..8

// The character formats a port takes; setLineSettings refuses others with CL_ERR_DATABITS or
// CL_ERR_STOPBITS.
inline constexpr int kFewestDataBits = 4;
inline constexpr int kMostDataBits = 8;
constexpr bool dataBitsSupported(int bits) {
    return bits >= kFewestDataBits && bits <= kMostDataBits;
}
constexpr bool stopBitsSupported(int bits) {
    return bits == 1 || bits == 2;
}

// One numbering serves the line-control operation and the flow modes.
inline constexpr int FLOW_NONE = 0;
inline constexpr int FLOW_XONXOFF = 1;
inline constexpr int LINE_DTR = 3;
inline constexpr int LINE_RTS = 4;
inline constexpr int LINE_BREAK = 7;
inline constexpr int LINE_CTS = 12;
inline constexpr int LINE_DSR = 13;
inline constexpr int LINE_RI = 14;
inline constexpr int LINE_DCD = 15;
inline constexpr int LINE_DELTA_CTS = 17;
inline constexpr int LINE_DELTA_DSR = 18;
inline constexpr int LINE_TRAILING_RI = 19;
inline constexpr int LINE_DELTA_DCD = 20;
inline constexpr int LINE_OVERRUN = 25;
inline constexpr int LINE_PARITY_ERR = 26;
inline constexpr int LINE_FRAMING_ERR = 27;
inline constexpr int LINE_BREAK_SEEN = 28;
inline constexpr int LINE_RX_OVERFLOW = 31;

// Answers of a line query.
inline constexpr int LINE_OFF = 0;
inline constexpr int LINE_ON = 1;
inline constexpr int LINE_NOT_AVAILABLE = 2;

}  // namespace q93::serial
