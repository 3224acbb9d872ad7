#include "link/tcp_link.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "base/frame_bytes.h"
#include "base/frame_log.h"
#include "base/string_table.h"
#include "base/user_seam.h"

namespace q93 {
namespace {

// Whatever has arrived is taken in one call: an answer then costs one wake-up of the
// reader, not one per few bytes. Frames are still cut byte by byte, so the chunk size
// changes no result.
constexpr std::size_t kRecvChunk = 512;

// An answer over a local network arrives within some tens of microseconds of its request.
// Sleeping on the condition variable for it costs a second wake-up after the reader's own,
// once per frame, and that hand-over was a quarter of a short transfer's time on loopback.
// So a take first gives way to the other threads for this long, looking again each time,
// and only then sleeps; a slow encoder costs it nothing but these few turns.
constexpr auto kEagerTake = std::chrono::microseconds(50);
std::atomic<bool> takesFromSocket{false};

std::string connectionFailedText(const TcpClient& client) {
    char text[1024];
    std::snprintf(text, sizeof text, LoadResString(112), client.hostName.c_str(),
                  client.ipText.c_str(), static_cast<int>(client.tcpPort));
    return text;
}

}  // namespace

void setTcpTakeFromSocket(bool fromSocket) {
    takesFromSocket = fromSocket;
}

TcpLink::~TcpLink() {
    close();
}

int TcpLink::open(const std::string& host, const std::string& ip, std::int32_t port) {
    hostName = host;
    ipText = ip;
    tcpPort = port;
    return open();
}

int TcpLink::open() {
    if (connected_ == 1) {
        discardPending();
        return 0;
    }
    // A reader left over from a connection the encoder closed has ended; collect it.
    close();
    client_.hostName = hostName;
    client_.ipText = ipText;
    client_.tcpPort = tcpPort;
    if (client_.connect() != 0) {
        showWarning(connectionFailedText(client_));
        return -1;
    }
    fromSocket_ = takesFromSocket;
    peerClosed_ = false;
    socketCutter_ = TcpFrameCutter();
    if (!fromSocket_)
        reader_ = std::thread(&TcpLink::readerLoop, this);
    connected_ = 1;
    return 0;
}

void TcpLink::close() {
    // Shut down first so a reader blocked in recv returns; release the descriptor only once
    // the reader is gone, so it can never read from a number the system has handed on.
    client_.shutdownBoth();
    if (reader_.joinable())
        reader_.join();
    client_.release();
    connected_ = 0;
}

int TcpLink::sendFrame(const std::uint8_t* bytes, int length) {
    if (length > 0 && client_.socket() >= 0) {
        ::send(client_.socket(), bytes, static_cast<std::size_t>(length), MSG_NOSIGNAL);
    }
    logFrame(bytes, length, kFrameSent);
    return 0;
}

bool TcpLink::takeFromSocket(std::vector<std::uint8_t>& frame) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kTcpTakeTimeoutMs);
    while (frameQueue_.empty() && !peerClosed_) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd wanted{client_.socket(), POLLIN, 0};
        const int ready = ::poll(&wanted, 1, static_cast<int>(left.count()) + 1);
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready > 0)
            receiveChunk(0, kRecvChunk);
    }
    if (frameQueue_.empty())
        return false;
    frame = std::move(frameQueue_.front());
    frameQueue_.pop_front();
    return true;
}

std::size_t TcpLink::receiveChunk(int flags, std::size_t limit) {
    std::uint8_t chunk[kRecvChunk];
    ssize_t got = -1;
    do {
        got = ::recv(client_.socket(), chunk, std::min(limit, sizeof chunk), flags);
    } while (got < 0 && errno == EINTR);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        return 0;
    if (got <= 0) {
        peerClosed_ = true;
        return 0;
    }
    socketCutter_.feed(chunk, static_cast<std::size_t>(got),
                       [this](const std::uint8_t* bytes, int length) {
                           frameQueue_.emplace_back(bytes, bytes + length);
                       });
    return static_cast<std::size_t>(got);
}

int TcpLink::receiveFrame(std::uint8_t* buffer, int& length) {
    std::vector<std::uint8_t> frame;
    if (!(fromSocket_ ? takeFromSocket(frame) : takeQueued(frame))) {
        length = 0;
        logFrame(buffer, 0, kFrameReceived);
        return -1;
    }
    const auto limit = frame.begin() + std::min<std::ptrdiff_t>(frame.size(), kTcpFrameCapacity);
    const auto end = std::find(frame.begin() + 1, limit, kEndByte);
    if (end == limit) {
        length = 0;
        logFrame(buffer, 0, kFrameReceived);
        return -1;
    }
    length = static_cast<int>(end - frame.begin()) + 1;
    std::memcpy(buffer, frame.data(), static_cast<std::size_t>(length));
    logFrame(buffer, length, kFrameReceived);
    return 0;
}

bool TcpLink::takeQueued(std::vector<std::uint8_t>& frame) {
    std::unique_lock lock(mutex_);
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + std::chrono::milliseconds(kTcpTakeTimeoutMs);
    while (frameQueue_.empty() && std::chrono::steady_clock::now() - start < kEagerTake) {
        lock.unlock();
        std::this_thread::yield();
        lock.lock();
    }
    if (!frameArrived_.wait_until(lock, deadline, [this] { return !frameQueue_.empty(); }))
        return false;
    frame = std::move(frameQueue_.front());
    frameQueue_.pop_front();
    return true;
}

void TcpLink::discardPending() {
    if (fromSocket_)
        discardArrived();
    std::lock_guard lock(mutex_);
    frameQueue_.clear();
}

// Only what has arrived by now, counted before the first byte is read: an encoder that never
// stops sending cannot hold the discard.
void TcpLink::discardArrived() {
    int arrived = 0;
    if (peerClosed_ || client_.socket() < 0 || ::ioctl(client_.socket(), FIONREAD, &arrived) != 0)
        return;
    auto left = static_cast<std::size_t>(std::max(arrived, 0));
    while (left > 0 && !peerClosed_) {
        const std::size_t got = receiveChunk(MSG_DONTWAIT, left);
        if (got == 0)
            return;
        left -= got;
    }
}

void TcpLink::queueFrame(const std::uint8_t* bytes, int length) {
    {
        std::lock_guard lock(mutex_);
        frameQueue_.emplace_back(bytes, bytes + length);
    }
    frameArrived_.notify_one();
}

void TcpLink::readerLoop() {
    TcpFrameCutter cutter;
    const TcpFrameCutter::FrameHandler queue = [this](const std::uint8_t* frame, int length) {
        queueFrame(frame, length);
    };
    for (;;) {
        std::uint8_t chunk[kRecvChunk];
        const ssize_t got = ::recv(client_.socket(), chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return;  // closed by the encoder or by close(); a partial frame goes
        cutter.feed(chunk, static_cast<std::size_t>(got), queue);
    }
}

void TcpFrameCutter::feed(const std::uint8_t* bytes, std::size_t count,
                          const FrameHandler& onFrame) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t byte = bytes[i];
        if (!inFrame_) {
            if (byte != kStartByte)
                continue;
            inFrame_ = true;
            assembled_ = 0;
        }
        assembly_[assembled_++] = byte;
        if (byte == kEndByte) {
            onFrame(assembly_, assembled_);
            inFrame_ = false;
        } else if (assembled_ == kTcpAssemblySize) {
            // Far beyond anything a take would return: give it up and hunt for the next
            // start byte rather than write past the buffer.
            inFrame_ = false;
        }
    }
}

}  // namespace q93
