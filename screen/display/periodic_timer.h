#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace q93 {

// A periodic timer on a thread of its own, with the start/kill semantics of a multimedia
// timer: start gives a non-zero identifier, kill ends the thread and waits for it. The
// thread is always joined by its owner, never detached.
class PeriodicTimer {
public:
    PeriodicTimer() = default;
    ~PeriodicTimer();
    PeriodicTimer(const PeriodicTimer&) = delete;
    PeriodicTimer& operator=(const PeriodicTimer&) = delete;

    // Calls `tick` every periodMs milliseconds, the first time one period from now, after
    // killing a timer still held. 0 when no timer could be started (a period below 1 ms,
    // or no thread to be had).
    std::uint32_t start(int periodMs, std::function<void()> tick);
    // Ends the timer and waits for its thread. Never from inside `tick`: it would wait for
    // itself.
    void kill();
    // From inside `tick`: no further ticks. The thread ends by itself, and the next start
    // or kill collects it.
    void stopTicking();
    // Whether ticks are still coming.
    bool ticking() const;

private:
    void run(int periodMs, const std::function<void()>& tick);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = true;
    std::thread thread_;
};

}  // namespace q93
