#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/frame_bytes.h"

namespace q93 {

inline constexpr std::uint8_t kAckCode = 0x18;

inline constexpr int kBuildBufferSize = 765;
inline constexpr int kWireBufferSize = 768;
// The end byte of an answer is never looked for beyond this index.
inline constexpr int kEndByteSearchLimit = 2295;
// Start byte, two zero bytes, sequence, length, two checksum bytes, end byte.
inline constexpr int kMinFrameLength = 8;

// Results of the acknowledgement check besides the code itself.
inline constexpr int kAckNoFrame = -2;
inline constexpr int kAckBadChecksum = -1;

// Sequence counter of every frame the process builds; its low byte goes on the wire. Shared
// by connections on the GUI and the measurement thread, hence atomic.
extern std::atomic<std::int32_t> frameSequence;

// While one lives, the frames the calling thread builds take their sequence from a counter of
// its own, starting at `start`: a job on a thread of its own numbers its frames as it did in
// a process of its own, whatever other threads send meanwhile.
class OwnFrameSequence {
public:
    explicit OwnFrameSequence(std::int32_t start);
    ~OwnFrameSequence();
    OwnFrameSequence(const OwnFrameSequence&) = delete;
    OwnFrameSequence& operator=(const OwnFrameSequence&) = delete;

private:
    std::atomic<std::int32_t> counter_;
    std::atomic<std::int32_t>* previous_;
};

// The unstuffed frame of a payload with the given sequence byte: FE 00 00 seq N … crc FF.
std::vector<std::uint8_t> composeFrame(const std::vector<std::uint8_t>& payload,
                                       std::uint8_t sequence);

// Escapes every byte between the first and the last; returns the stuffed length, or -1 when
// the result would not fit in capacity.
int stuffFrame(const std::uint8_t* frame, int length, std::uint8_t* out, int capacity);

// Un-stuffs a received frame in place. Looks for the end byte only among the first
// `received` bytes (and never past kEndByteSearchLimit or `capacity`); returns the un-stuffed
// length, or -1 when byte 0 is not the start byte or no end byte was found.
int unstuffFrame(std::uint8_t* buffer, int received, int capacity);

// Whether the CRC over offsets 1..L-4 matches offsets L-3 (high) and L-2 (low).
bool checksumMatches(const std::uint8_t* frame, int length);

// Un-stuffs in place and checks an acknowledgement: kAckNoFrame when no complete frame or no
// acknowledgement payload, kAckBadChecksum when the checksum fails, else the code (0..255).
int checkAcknowledge(std::uint8_t* raw, int length, int capacity);

// The frame buffers a connection carries: a request is built and stuffed into the wire
// buffer; the answer is later received into the same buffer and un-stuffed there.
class FrameCodec {
public:
    // Builds the frame of a command text, taking the next sequence byte. Never fails: what
    // cannot be read as a byte ends the payload.
    void buildFrame(std::string_view commandText);

    const std::uint8_t* wireFrame() const { return wire_; }
    int wireLength() const { return wireLength_; }
    const std::uint8_t* builtFrame() const { return build_; }
    int buildLength() const { return buildLength_; }

    // Where a link delivers an answer, and how much room it has.
    std::uint8_t* receiveBuffer() { return wire_; }
    static constexpr int receiveCapacity() { return kWireBufferSize; }
    void setReceivedLength(int length);

    // Un-stuffs the received answer in place; true and the new wire length when a complete
    // frame was found, false with the buffer and length left as received.
    bool unstuffAnswer();

    // The byte at an offset of the un-stuffed answer; 0 outside the buffer.
    std::uint8_t answerByte(int offset) const;

private:
    std::uint8_t build_[kBuildBufferSize] = {};
    std::int32_t buildLength_ = 0;
    std::uint8_t wire_[kWireBufferSize] = {};
    std::int32_t wireLength_ = 0;
};

}  // namespace q93
