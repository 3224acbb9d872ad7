#include "screen/display/periodic_timer.h"

#include <atomic>
#include <chrono>
#include <system_error>

namespace q93 {
namespace {

std::atomic<std::uint32_t> lastTimerId{0};

std::uint32_t nextTimerId() {
    std::uint32_t id = ++lastTimerId;
    while (id == 0)
        id = ++lastTimerId;
    return id;
}

}  // namespace

PeriodicTimer::~PeriodicTimer() {
    kill();
}

std::uint32_t PeriodicTimer::start(int periodMs, std::function<void()> tick) {
    kill();
    if (periodMs < 1)
        return 0;
    {
        std::lock_guard lock(mutex_);
        stop_ = false;
    }
    try {
        thread_ = std::thread([this, periodMs, tick = std::move(tick)] { run(periodMs, tick); });
    } catch (const std::system_error&) {
        std::lock_guard lock(mutex_);
        stop_ = true;
        return 0;
    }
    return nextTimerId();
}

void PeriodicTimer::kill() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void PeriodicTimer::stopTicking() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
}

bool PeriodicTimer::ticking() const {
    std::lock_guard lock(mutex_);
    return !stop_;
}

void PeriodicTimer::run(int periodMs, const std::function<void()>& tick) {
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::milliseconds(periodMs);
    // Ticks keep to a fixed grid so they do not drift; a tick that overran its period is
    // followed at once by the next one, not by a burst to catch up.
    auto next = Clock::now() + period;
    std::unique_lock lock(mutex_);
    while (!wake_.wait_until(lock, next, [this] { return stop_; })) {
        lock.unlock();
        tick();
        lock.lock();
        next = std::max(next + period, Clock::now());
    }
}

}  // namespace q93
