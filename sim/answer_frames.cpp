#include "sim/answer_frames.h"

#include "protocol/crc16.h"
#include "protocol/frame_codec.h"

namespace q93::sim {

namespace {

// Frames of any payload length (composeFrame stops at 255 payload bytes).
std::vector<std::uint8_t> composeAny(const std::vector<std::uint8_t>& payload, std::uint8_t sequence) {
    const std::size_t n = payload.size();
    std::vector<std::uint8_t> frame(n + 8, 0x00);
    frame[0] = kStartByte;
    frame[3] = sequence;
    frame[4] = static_cast<std::uint8_t>(n);
    for (std::size_t i = 0; i < n; ++i) frame[5 + i] = payload[i];
    const std::uint16_t crc = crc16Genibus(frame.data() + 1, n + 4);
    frame[5 + n] = static_cast<std::uint8_t>(crc >> 8);
    frame[6 + n] = static_cast<std::uint8_t>(crc & 0xFF);
    frame[7 + n] = kEndByte;
    return frame;
}

std::vector<std::uint8_t> stuff(const std::vector<std::uint8_t>& frame) {
    std::vector<std::uint8_t> wire(frame.size() * 2 + 2);
    const int length = stuffFrame(frame.data(), static_cast<int>(frame.size()), wire.data(),
                                  static_cast<int>(wire.size()));
    wire.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return wire;
}

std::vector<std::uint8_t> unstuffCopy(const std::vector<std::uint8_t>& wire) {
    std::vector<std::uint8_t> frame = wire;
    const int length = unstuffFrame(frame.data(), static_cast<int>(frame.size()), static_cast<int>(frame.size()));
    frame.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return frame;
}

}  // namespace

std::vector<std::uint8_t> answerFrame(const std::vector<std::uint8_t>& payload, std::uint8_t sequence) {
    return stuff(composeFrame(payload, sequence));
}

std::vector<std::uint8_t> oversizeFrame(const std::vector<std::uint8_t>& payload,
                                        std::uint8_t sequence, std::size_t wireBytes) {
    // Zero filler is never stuffed, but the length byte and the checksum may be; try the
    // filler counts near the estimate, and a last filler byte of 0xFD (two wire bytes) to
    // make up an odd byte, until the wire length comes out exact.
    const std::size_t base = answerFrame(payload, sequence).size();
    const long estimate = static_cast<long>(wireBytes) - static_cast<long>(base);
    std::vector<std::uint8_t> best;
    for (long delta = 0; delta <= 8; ++delta) {
        for (const long filler : {estimate - delta, estimate + delta}) {
            if (filler < 0) continue;
            for (int escaped = 0; escaped <= 2; ++escaped) {
                if (escaped > filler) break;
                std::vector<std::uint8_t> padded = payload;
                padded.resize(payload.size() + static_cast<std::size_t>(filler), 0x00);
                for (int i = 1; i <= escaped; ++i) padded[padded.size() - static_cast<std::size_t>(i)] = kEscapeByte;
                std::vector<std::uint8_t> wire = stuff(composeAny(padded, sequence));
                if (wire.size() == wireBytes) return wire;
                if (wire.size() > wireBytes && (best.empty() || wire.size() < best.size())) best = wire;
            }
        }
    }
    return best.empty() ? stuff(composeAny(payload, sequence)) : best;
}

std::vector<std::uint8_t> withBadChecksum(const std::vector<std::uint8_t>& wire) {
    std::vector<std::uint8_t> frame = unstuffCopy(wire);
    if (frame.size() < static_cast<std::size_t>(kMinFrameLength)) return wire;
    frame[frame.size() - 2] ^= 0x5A;
    return stuff(frame);
}

std::vector<std::uint8_t> garbageBytes(std::size_t count, std::uint32_t seed) {
    std::vector<std::uint8_t> out;
    out.reserve(count);
    std::uint32_t state = seed * 2654435761u + 12345u;
    for (std::size_t i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        auto byte = static_cast<std::uint8_t>(state >> 16);
        if (byte == kStartByte) byte = 0x7E;
        out.push_back(byte);
    }
    return out;
}

std::uint8_t wrongCodeFor(std::uint8_t code) {
    switch (code) {
        case 0x2D: return 0x3C;
        case 0x3B: return 0x3C;
        case 0x3C: return 0x3B;
        case 0x0D: return 0x2D;
        case 0x18: return 0x19;
        default: return static_cast<std::uint8_t>(code ^ 0x01);
    }
}

}  // namespace q93::sim
