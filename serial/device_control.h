#pragma once

#include <termios.h>

#include <cstdint>

namespace q93::serial {

// Values of fDtrControl and fRtsControl.
inline constexpr unsigned kControlDisable = 0;
inline constexpr unsigned kControlEnable = 1;
inline constexpr unsigned kControlHandshake = 2;

// Values of Parity, in the order of the library's parity table.
inline constexpr std::uint8_t kParityNone = 0;
inline constexpr std::uint8_t kParityOdd = 1;
inline constexpr std::uint8_t kParityEven = 2;
inline constexpr std::uint8_t kParityMark = 3;
inline constexpr std::uint8_t kParitySpace = 4;

// Values of StopBits.
inline constexpr std::uint8_t kOneStopBit = 0;
inline constexpr std::uint8_t kOne5StopBits = 1;
inline constexpr std::uint8_t kTwoStopBits = 2;

// Everything the library decides about a line, kept in the shape its rules are written in;
// applyDeviceControl is the one place that turns it into terminal settings. The field
// names are the library's long-standing ones.
struct DeviceControl {
    std::uint32_t BaudRate = 0;
    std::uint8_t ByteSize = 8;
    std::uint8_t Parity = kParityNone;
    std::uint8_t StopBits = kOneStopBit;
    unsigned fBinary = 1;
    unsigned fParity = 0;       // check the parity of received characters
    unsigned fOutxCtsFlow = 0;  // hold output while CTS is off
    unsigned fOutxDsrFlow = 0;  // hold output while DSR is off
    unsigned fDtrControl = kControlEnable;
    unsigned fDsrSensitivity = 0;
    unsigned fTXContinueOnXoff = 0;
    unsigned fOutX = 0;  // obey XON/XOFF received
    unsigned fInX = 0;   // send XON/XOFF as the receive queue fills and drains
    unsigned fErrorChar = 0;
    unsigned fNull = 0;
    unsigned fRtsControl = kControlDisable;
    unsigned fAbortOnError = 0;
    std::uint16_t XonLim = 0;
    std::uint16_t XoffLim = 0;
    std::uint8_t XonChar = 0x11;
    std::uint8_t XoffChar = 0x13;
    std::uint8_t ErrorChar = 0;
    std::uint8_t EofChar = 0;
    std::uint8_t EvtChar = 0;
};

// Takes the line, flow and character settings the terminal holds into the record; fields
// the terminal has no counterpart for keep their values.
void readDeviceControl(const termios& tio, DeviceControl& dcb);

// Writes the record onto tio as a raw, non-blocking line. Returns 0, or the code of the
// first setting the terminal cannot take (tio is then unchanged): CL_ERR_BAUD,
// CL_ERR_DATABITS, or CL_ERR_FAIL for a parity or stop-bit value outside the tables.
int applyDeviceControl(const DeviceControl& dcb, termios& tio);

// Whether the terminal took every setting of `wanted` except character size and parity.
// A pseudo-terminal carries bytes without framing and always answers eight bits, no parity.
bool differsOnlyInFraming(const termios& wanted, const termios& taken);

}  // namespace q93::serial
