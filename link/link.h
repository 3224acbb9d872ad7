#pragma once

#include <cstdint>

namespace q93 {

// One way to the encoder's frames, as a device connection uses it. SerialLink and TcpLink
// are the two; the connection chooses one by its settings and sets that link's own fields
// (port and speed, or address and port) before every open.
class Link {
public:
    virtual ~Link() = default;
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // 0, or -1 when the link cannot be opened.
    virtual int open() = 0;
    // Releases everything open created; safe when not open.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Sends the wire bytes of one stuffed frame; 0, or -1 when the link knows it failed.
    virtual int sendFrame(const std::uint8_t* bytes, int length) = 0;
    // Waits for one frame and copies it, from 0xFE up to and including 0xFF, into buffer,
    // which must hold the link's frame capacity; 0 with length set, or -1.
    virtual int receiveFrame(std::uint8_t* buffer, int& length) = 0;
    // Drops whatever has arrived that no request is waiting for.
    virtual void discardPending() = 0;

protected:
    Link() = default;
};

}  // namespace q93
