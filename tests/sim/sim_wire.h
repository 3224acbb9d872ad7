#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace q93::test {

using Bytes = std::vector<std::uint8_t>;

// The tool's end of a line to q93sim, for the tests of this folder: a TCP connection or
// the pty's slave opened like a serial port. Frames are built with the tool's codec.
class SimWire {
public:
    static SimWire connectTcp(const std::string& host, int port);
    static SimWire openPty(const std::string& path);
    SimWire(SimWire&& other) noexcept;
    ~SimWire();

    bool ok() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // Builds the frame of a command text and sends it.
    void sendCommand(const std::string& commandText);
    void sendBytes(const Bytes& bytes);

    // The next frame as received (FE to FF, stuffed), cut like the TCP link's reader does;
    // nullopt when none completes within timeoutMs.
    std::optional<Bytes> receiveFrame(int timeoutMs = 2000);
    // Whatever bytes arrive within timeoutMs (until `count` bytes, or the time-out).
    Bytes receiveBytes(std::size_t count, int timeoutMs);
    // True when the peer closes the connection within timeoutMs (recv gives 0).
    bool peerClosed(int timeoutMs);

    void close();

private:
    explicit SimWire(int fd, bool socket) : fd_(fd), socket_(socket) {}
    bool readSome(int timeoutMs);

    int fd_ = -1;
    bool socket_ = false;
    bool eof_ = false;
    Bytes pending_;
};

// Un-stuffs a received frame; empty when it is not one.
Bytes unstuffed(const Bytes& raw);
// The payload of an un-stuffed frame (offsets 5 to L-4).
Bytes payloadOf(const Bytes& raw);
bool isAck(const Bytes& raw);
// The float stored little-endian at an offset of an un-stuffed frame.
float floatAt(const Bytes& frame, std::size_t offset);
Bytes fromHex(const std::string& commaSeparated);

}  // namespace q93::test
