#pragma once

#include <cstdint>
#include <vector>

#include "base/stop_signal.h"

namespace q93::sim {

// How the encoder puts bytes on its line.
struct Pacing {
    int delayMs = 0;    // before every frame (fault delay:MS)
    int trickleMs = 0;  // after every byte (fault trickle:MS)
    int baud = 0;       // serial line speed, 10 bits a byte; 0 for no pacing
};

// Writes the chunks of one reply to a non-blocking descriptor (socket or pty master),
// honouring the pacing, and gives up when the stop is requested, the peer is gone, or the
// line will not take a byte for `stallMs`.
class PacedWriter {
public:
    PacedWriter(int fd, bool isSocket, const Pacing& pacing, const StopSignal& stop, int stallMs = 2000)
        : fd_(fd), isSocket_(isSocket), pacing_(pacing), stop_(stop), stallMs_(stallMs) {}

    // false when the chunk could not be written in full.
    bool writeChunk(const std::vector<std::uint8_t>& chunk);
    bool writeChunks(const std::vector<std::vector<std::uint8_t>>& chunks);

private:
    bool writeAll(const std::uint8_t* bytes, std::size_t count);

    int fd_;
    bool isSocket_;
    Pacing pacing_;
    const StopSignal& stop_;
    int stallMs_;
};

}  // namespace q93::sim
