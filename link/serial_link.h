#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/link.h"
#include "serial/port_settings.h"

namespace q93 {

namespace serial {
class CommPort;
class PosixCommPort;
}  // namespace serial

// A received frame never exceeds this many bytes, start and end byte included; longer ones
// are cut here and delivered without their end byte.
inline constexpr int kSerialFrameCapacity = 765;

// The longest texts the link keeps; longer ones are cut.
inline constexpr std::size_t kPortNameMaxLength = 51;
inline constexpr std::size_t kHandshakeMaxLength = 50;

// After an empty poll: waits up to this many milliseconds for a byte to arrive.
using WaitForInput = std::function<void(int ms)>;

// The longest one receive may last, however the line behaves: the idle budget, then a whole
// frame of kSerialFrameCapacity characters at the line's speed and format, and a margin.
std::chrono::milliseconds serialReceiveBound(int receiveTimeoutMs, std::int32_t baudRate,
                                             int dataBits, char parity, int stopBits);

// The link's receive loop, apart from the port it polls so that any port can feed it: hunts the
// start byte, then collects one frame into buffer, which must hold kSerialFrameCapacity bytes. The
// frame's length, or -1 when the idle budget, a character limit or the total time allowed ran out.
int receiveSerialFrame(serial::CommPort& port, const WaitForInput& waitForInput,
                       int receiveTimeoutMs, std::chrono::milliseconds totalBound,
                       std::uint8_t* buffer);

// Where the last open of a link stopped and what the port said, for a caller that explains
// the failure to the user; stage None after a successful open.
enum class OpenStage { None, Device, LineSettings, FlowControl };
struct SerialOpenFailure {
    OpenStage stage = OpenStage::None;
    int portIndex = 0;
    std::string devicePath;  // what the port index opens
    int code = 0;            // the library's code
    int systemError = 0;     // errno of the failing system call; 0 when the library refused
};

// The encoder's frames over a serial port. The owning connection sets portName and baudRate
// before every open; the character format and handshake come from the machine-wide settings
// read at construction.
class SerialLink : public Link {
public:
    SerialLink();  // reads the settings section; opens nothing
    ~SerialLink() override;

    // Opens and configures the port; 0 or -1. A failed open leaves nothing open, and an open
    // link answers -1 and stays as it is. Shows nothing: the caller reports.
    int open() override;
    // Restores and releases everything open created; safe when not open.
    void close() override;
    bool isOpen() const override { return port_ != nullptr; }
    // Writes the wire bytes of one stuffed frame; 0 or -1 (not open, or transmit queue stuck).
    int sendFrame(const std::uint8_t* bytes, int length) override;
    // Waits for one frame and copies it, from 0xFE up to and including 0xFF, into buffer,
    // which must hold kSerialFrameCapacity bytes; 0 with length set, or -1. Never waits
    // longer than serialReceiveBound for the configured line.
    int receiveFrame(std::uint8_t* buffer, int& length) override;
    // Drops the bytes waiting in the port's input.
    void discardPending() override;

    const SerialOpenFailure& openFailure() const { return openFailure_; }

    // Set by the connection before each open.
    std::int32_t baudRate = 0;
    std::string portName;

    // From the settings section (see serial_settings.h).
    std::int32_t dataBits = 8;
    std::int32_t stopBits = 1;
    char parity = 'N';
    std::string handshake = "none";
    std::int32_t receiveTimeoutMs = 5000;

    // The port, for callers that want to look at the configured line; nullptr while closed.
    serial::PosixCommPort* commPort() const { return port_.get(); }

private:
    int failOpen(OpenStage stage, int code);

    std::unique_ptr<serial::PosixCommPort> port_;
    // The settings the port had when it was opened, put back by close; absent until the
    // port opened.
    std::optional<serial::PortSettings> found_;
    SerialOpenFailure openFailure_;
};

}  // namespace q93
