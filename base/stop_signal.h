#pragma once

#include <chrono>

namespace q93 {

// A self-pipe that tells every loop of a long-running program to end: its read end becomes readable
// once stop is requested (by SIGINT/SIGTERM when installed, or by request()) and stays so, so that
// any number of threads can poll it.
class StopSignal {
public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    // Makes SIGINT and SIGTERM request the stop, and ignores SIGPIPE. One object at a time.
    void installSignalHandlers();

    void request();
    bool requested() const;
    int fd() const { return readFd_; }

    // Sleeps for `duration` unless the stop comes first; false when it did.
    bool sleepFor(std::chrono::nanoseconds duration) const;

private:
    int readFd_ = -1;
    int writeFd_ = -1;
};

}  // namespace q93
