#pragma once

#include <chrono>

namespace q93::test {

using TestClock = std::chrono::steady_clock;

// Whole milliseconds until a deadline, 0 once it has passed: the time-out for one poll().
inline int millisecondsLeft(TestClock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TestClock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace q93::test
