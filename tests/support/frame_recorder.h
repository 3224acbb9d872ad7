#pragma once

#include <cstdint>
#include <vector>

#include "base/frame_log.h"

namespace q93::test {

// Keeps every frame offered to the port log, with its direction; installed for its lifetime.
class FrameRecorder : public FrameLogger {
public:
    struct Entry {
        std::vector<std::uint8_t> bytes;
        int direction;
    };

    FrameRecorder() { installFrameLogger(this); }
    ~FrameRecorder() override { installFrameLogger(nullptr); }
    void logFrame(const std::uint8_t* bytes, int length, int direction) override {
        entries.push_back({std::vector<std::uint8_t>(bytes, bytes + length), direction});
    }

    std::vector<Entry> entries;
};

}  // namespace q93::test
