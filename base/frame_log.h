#pragma once

#include <cstdint>

namespace q93 {

inline constexpr int kFrameSent = 1;
inline constexpr int kFrameReceived = 2;

// Where the links report every frame: the port log window, or a recorder in tests.
class FrameLogger {
public:
    virtual ~FrameLogger() = default;
    virtual void logFrame(const std::uint8_t* bytes, int length, int direction) = 0;
};

// Attaches a logger for the process; nullptr detaches it. Returns once no other thread is
// still inside the previous logger, which may then be destroyed.
void installFrameLogger(FrameLogger* logger);

// Attaches a logger for the calling thread alone, which takes that thread's frames in place
// of the process's logger; nullptr detaches it. The thread detaches it before it goes.
void installThreadFrameLogger(FrameLogger* logger);

// The process's logger alone, for a thread's logger that passes the frames on: a transfer
// on a worker thread of the window still shows in the port log.
void logProcessFrame(const std::uint8_t* bytes, int length, int direction);

// Called by both links for every frame sent (direction 1) and received (direction 2);
// does nothing while no logger is attached.
void logFrame(const std::uint8_t* bytes, int length, int direction);

}  // namespace q93
