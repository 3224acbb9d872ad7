#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/link.h"
#include "link/tcp_client.h"

namespace q93 {

// A take waits this long for a queued answer: the classic 101 looks 10 ms apart.
inline constexpr int kTcpTakeTimeoutMs = 1010;
// receiveFrame's buffer must hold this many bytes; longer frames are dropped.
inline constexpr int kTcpFrameCapacity = 511;
// The reader assembles a frame in this many bytes.
inline constexpr int kTcpAssemblySize = 1024;

// Whether a take first gives way to other threads for a short while before it sleeps (the
// default), which makes a transfer over a fast network quicker at some CPU time per answer.
// A process that is in no hurry, such as the fleet watch, turns it off for all its links.
void setEagerTcpTake(bool eager);

// Cuts a received byte stream into frames as the reader thread does, however it is chunked:
// bytes outside a frame are dropped, a start byte inside a frame is kept like any other, and
// a frame that fills kTcpAssemblySize bytes without an end byte is given up.
class TcpFrameCutter {
public:
    using FrameHandler = std::function<void(const std::uint8_t* frame, int length)>;

    // Calls onFrame for every frame completed by these bytes, 0xFE to 0xFF inclusive.
    void feed(const std::uint8_t* bytes, std::size_t count, const FrameHandler& onFrame);

private:
    std::uint8_t assembly_[kTcpAssemblySize];
    int assembled_ = 0;
    bool inFrame_ = false;
};

// The encoder's frames over TCP: a client socket, a reader thread that cuts the incoming
// stream into frames, and the queue between them.
class TcpLink : public Link {
public:
    TcpLink() = default;
    ~TcpLink() override;

    // Connects to tcpPort at ipText (hostName names it in the message); 0, or -1 after
    // showing string 112. While connected only empties the queue.
    int open() override;
    // Sets the three fields, then opens.
    int open(const std::string& host, const std::string& ip, std::int32_t port);
    // Shuts the socket down, waits for the reader and releases the socket.
    void close() override;
    bool isOpen() const override { return connected(); }
    // One send of the whole frame; a failed send shows as a missing answer later. Always 0.
    int sendFrame(const std::uint8_t* bytes, int length) override;
    // The oldest queued frame, from 0xFE to 0xFF, into a buffer of kTcpFrameCapacity bytes;
    // -1 with length 0 when none arrives within kTcpTakeTimeoutMs or it is too long.
    int receiveFrame(std::uint8_t* buffer, int& length) override;
    // Empties the queue of received frames.
    void discardPending() override;

    bool connected() const { return connected_ != 0; }
    const TcpClient& client() const { return client_; }

    // Set by the connection before each open.
    std::string hostName;
    std::string ipText;
    std::int32_t tcpPort = 0;

private:
    void readerLoop();
    void queueFrame(const std::uint8_t* bytes, int length);

    std::mutex mutex_;
    std::condition_variable frameArrived_;
    std::int32_t connected_ = 0;
    TcpClient client_;
    std::deque<std::vector<std::uint8_t>> frameQueue_;
    std::thread reader_;
};

}  // namespace q93
