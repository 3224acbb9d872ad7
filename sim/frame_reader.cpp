#include "sim/frame_reader.h"

#include "protocol/frame_codec.h"

namespace q93::sim {

void FrameReader::feed(const std::uint8_t* bytes, std::size_t count, const FrameHandler& onFrame) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t byte = bytes[i];
        if (!inFrame_) {
            if (byte == kStartByte) {
                inFrame_ = true;
                frame_.assign(1, byte);
            } else {
                ++droppedBytes_;
            }
            continue;
        }
        if (byte == kStartByte) {
            ++brokenFrames_;
            frame_.assign(1, byte);
            continue;
        }
        frame_.push_back(byte);
        if (byte == kEndByte) {
            inFrame_ = false;
            const std::vector<std::uint8_t> complete = std::move(frame_);
            frame_.clear();
            onFrame(complete);
        } else if (frame_.size() >= kMaxFrameBytes) {
            ++brokenFrames_;
            inFrame_ = false;
            frame_.clear();
        }
    }
}

std::size_t FrameReader::reset() {
    const std::size_t held = inFrame_ ? frame_.size() : 0;
    inFrame_ = false;
    frame_.clear();
    return held;
}

std::string FrameReader::takeDropNote() {
    std::string note;
    if (droppedBytes_ > 0) note += std::to_string(droppedBytes_) + " byte(s) outside a frame";
    if (brokenFrames_ > 0) {
        if (!note.empty()) note += ", ";
        note += std::to_string(brokenFrames_) + " broken or oversized frame(s)";
    }
    droppedBytes_ = 0;
    brokenFrames_ = 0;
    return note;
}

DecodedRequest decodeRequest(std::span<const std::uint8_t> rawFrame) {
    DecodedRequest out;
    out.frame.assign(rawFrame.begin(), rawFrame.end());
    const int length = unstuffFrame(out.frame.data(), static_cast<int>(out.frame.size()),
                                    static_cast<int>(out.frame.size()));
    if (length < 0) {
        out.check = RequestCheck::NoFrame;
        return out;
    }
    out.frame.resize(static_cast<std::size_t>(length));
    if (length < kMinFrameLength) {
        out.check = RequestCheck::TooShort;
        return out;
    }
    if (!checksumMatches(out.frame.data(), length)) {
        out.check = RequestCheck::BadChecksum;
        return out;
    }
    const std::size_t n = out.frame[4];
    if (n + kMinFrameLength != static_cast<std::size_t>(length)) {
        out.check = RequestCheck::BadLength;
        return out;
    }
    out.payload.assign(out.frame.begin() + 5, out.frame.begin() + 5 + static_cast<std::ptrdiff_t>(n));
    out.check = RequestCheck::Ok;
    return out;
}

const char* describeCheck(RequestCheck check) {
    switch (check) {
        case RequestCheck::Ok: return "ok";
        case RequestCheck::NoFrame: return "no complete frame";
        case RequestCheck::TooShort: return "frame shorter than 8 bytes";
        case RequestCheck::BadChecksum: return "bad checksum";
        case RequestCheck::BadLength: return "length byte does not match the frame";
    }
    return "?";
}

}  // namespace q93::sim
