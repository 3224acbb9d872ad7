#include "protocol/frame_codec.h"

#include <algorithm>
#include <cstring>

#include "protocol/command_text.h"
#include "protocol/crc16.h"

namespace q93 {

std::atomic<std::int32_t> frameSequence{0};

namespace {

// The counter of the calling thread's OwnFrameSequence, if one lives.
thread_local std::atomic<std::int32_t>* threadSequence = nullptr;

}  // namespace

OwnFrameSequence::OwnFrameSequence(std::int32_t start)
    : counter_(start), previous_(threadSequence) {
    threadSequence = &counter_;
}

OwnFrameSequence::~OwnFrameSequence() {
    threadSequence = previous_;
}

std::vector<std::uint8_t> composeFrame(const std::vector<std::uint8_t>& payload,
                                       std::uint8_t sequence) {
    const std::size_t n = std::min(payload.size(), kMaxPayload);
    std::vector<std::uint8_t> frame(n + kMinFrameLength, 0x00);
    frame[0] = kStartByte;
    frame[3] = sequence;
    frame[4] = static_cast<std::uint8_t>(n);
    std::copy_n(payload.begin(), n, frame.begin() + 5);
    const std::uint16_t crc = crc16Genibus(frame.data() + 1, n + 4);
    frame[5 + n] = static_cast<std::uint8_t>(crc >> 8);
    frame[6 + n] = static_cast<std::uint8_t>(crc & 0xFF);
    frame[7 + n] = kEndByte;
    return frame;
}

int stuffFrame(const std::uint8_t* frame, int length, std::uint8_t* out, int capacity) {
    if (length < 2 || capacity < 2)
        return -1;
    int used = 0;
    out[used++] = frame[0];
    for (int i = 1; i < length - 1; ++i) {
        const std::uint8_t byte = frame[i];
        const bool escape = byte >= kEscapeByte;
        if (used + (escape ? 2 : 1) > capacity - 1)
            return -1;
        if (escape) {
            out[used++] = kEscapeByte;
            out[used++] = static_cast<std::uint8_t>(byte - kEscapeByte);
        } else {
            out[used++] = byte;
        }
    }
    out[used++] = frame[length - 1];
    return used;
}

int unstuffFrame(std::uint8_t* buffer, int received, int capacity) {
    const int limit = std::min({received, capacity, kEndByteSearchLimit + 1});
    if (limit < 1 || buffer[0] != kStartByte)
        return -1;
    int end = 1;
    while (end < limit && buffer[end] != kEndByte)
        ++end;
    if (end >= limit)
        return -1;
    int out = 1;
    for (int in = 1; in < end; ++in) {
        std::uint8_t byte = buffer[in];
        if (byte == kEscapeByte && in + 1 < end && buffer[in + 1] <= 0x02) {
            byte = static_cast<std::uint8_t>(kEscapeByte + buffer[in + 1]);
            ++in;
        }
        buffer[out++] = byte;
    }
    buffer[out++] = kEndByte;
    return out;
}

bool checksumMatches(const std::uint8_t* frame, int length) {
    if (length < kMinFrameLength)
        return false;
    const std::uint16_t crc = crc16Genibus(frame + 1, static_cast<std::size_t>(length - 4));
    return frame[length - 3] == (crc >> 8) && frame[length - 2] == (crc & 0xFF);
}

int checkAcknowledge(std::uint8_t* raw, int length, int capacity) {
    const int unstuffed = unstuffFrame(raw, length, capacity);
    if (unstuffed < 0)
        return kAckNoFrame;
    if (!checksumMatches(raw, unstuffed))
        return kAckBadChecksum;
    // An acknowledgement carries two payload bytes; a shorter frame has no code to give.
    if (unstuffed < kMinFrameLength + 2 || raw[5] != kAckCode)
        return kAckNoFrame;
    return raw[6];
}

void FrameCodec::buildFrame(std::string_view commandText) {
    std::atomic<std::int32_t>& counter =
        threadSequence != nullptr ? *threadSequence : frameSequence;
    const std::uint8_t sequence = static_cast<std::uint8_t>(counter.fetch_add(1) & 0xFF);
    const std::vector<std::uint8_t> frame = composeFrame(commandPayload(commandText), sequence);
    // A payload of at most 255 bytes keeps both buffers far from full: 263 bytes unstuffed,
    // 524 at worst stuffed.
    buildLength_ = static_cast<std::int32_t>(frame.size());
    std::memcpy(build_, frame.data(), frame.size());
    wireLength_ = stuffFrame(build_, buildLength_, wire_, kWireBufferSize);
}

void FrameCodec::setReceivedLength(int length) {
    wireLength_ = std::clamp(length, 0, kWireBufferSize);
}

bool FrameCodec::unstuffAnswer() {
    const int length = unstuffFrame(wire_, wireLength_, kWireBufferSize);
    if (length < 0)
        return false;
    wireLength_ = length;
    return true;
}

std::uint8_t FrameCodec::answerByte(int offset) const {
    return offset >= 0 && offset < kWireBufferSize ? wire_[offset] : 0;
}

}  // namespace q93
