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

// Where a link opened from now on takes its answers. By default a reader thread cuts the
// stream into frames and queues them, and a take gives way to it for a short while before it
// sleeps, which makes a transfer over a fast network quick. A process in no hurry that keeps
// many links busy, such as the fleet watch, turns this on: the waiting thread then reads the
// socket itself, which saves a thread and a hand-over per answer, about half the CPU time an
// answer costs, and a take on a connection the encoder closed ends at once.
void setTcpTakeFromSocket(bool fromSocket);

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
    bool takeQueued(std::vector<std::uint8_t>& frame);
    // Without a reader thread: waits for a frame on the socket within the take's bound.
    bool takeFromSocket(std::vector<std::uint8_t>& frame);
    // One recv of at most `limit` bytes, cut into the queue; the bytes it took, 0 when none
    // (`flags` MSG_DONTWAIT: none had arrived) or the encoder closed the connection.
    std::size_t receiveChunk(int flags, std::size_t limit);
    // Drops the frames of the bytes the socket holds now.
    void discardArrived();

    std::mutex mutex_;
    std::condition_variable frameArrived_;
    std::int32_t connected_ = 0;
    TcpClient client_;
    std::deque<std::vector<std::uint8_t>> frameQueue_;
    std::thread reader_;
    // Taking from the socket: set at open, touched by the connection's thread only.
    bool fromSocket_ = false;
    bool peerClosed_ = false;
    TcpFrameCutter socketCutter_;
};

}  // namespace q93
