#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace q93::sim {

// Cuts request frames out of a byte stream however it arrives: bytes before a start byte
// are dropped, a start byte inside a frame starts the frame afresh (a stuffed frame never
// holds one, so the earlier bytes were a broken frame), and a frame that grows past
// kMaxFrameBytes without an end byte is dropped. Counts what it drops.
class FrameReader {
public:
    // A stuffed request of the tool is under 30 bytes; this leaves room for any payload.
    static constexpr std::size_t kMaxFrameBytes = 1024;

    using FrameHandler = std::function<void(std::span<const std::uint8_t> rawFrame)>;

    // Feeds received bytes; calls onFrame for every complete frame, FE to FF inclusive.
    void feed(const std::uint8_t* bytes, std::size_t count, const FrameHandler& onFrame);

    // Forgets a partly received frame (a client went away); returns how many bytes it held.
    std::size_t reset();

    bool inFrame() const { return inFrame_; }
    std::size_t droppedBytes() const { return droppedBytes_; }    // outside any frame
    std::size_t brokenFrames() const { return brokenFrames_; }    // restarted or too long
    // Takes the drop counters (for a note on stderr) and clears them.
    std::string takeDropNote();

private:
    std::vector<std::uint8_t> frame_;
    bool inFrame_ = false;
    std::size_t droppedBytes_ = 0;
    std::size_t brokenFrames_ = 0;
};

enum class RequestCheck { Ok, NoFrame, TooShort, BadChecksum, BadLength };

// A received request, un-stuffed and checked: the CRC must match and the length byte must
// agree with the bytes present.
struct DecodedRequest {
    RequestCheck check = RequestCheck::NoFrame;
    std::vector<std::uint8_t> frame;    // un-stuffed, FE to FF
    std::vector<std::uint8_t> payload;  // the N payload bytes when check is Ok
};

DecodedRequest decodeRequest(std::span<const std::uint8_t> rawFrame);
const char* describeCheck(RequestCheck check);

}  // namespace q93::sim
