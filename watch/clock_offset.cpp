#include "watch/clock_offset.h"

namespace q93::watch {
namespace {

constexpr int kNegativeOffset = 0x20;
constexpr int kHalfHours = 0x1F;
constexpr double kHalfHourSeconds = 1800;
// The clock shows whole seconds: the middle of the second shown is the best guess of where
// in it the encoder was.
constexpr double kMiddleOfSecond = 0.5;

}  // namespace

double clockOffsetSeconds(const ClockValues& clock, const timespec& pcNow) {
    const double halfHours =
        (clock.offsetCode & kHalfHours) * ((clock.offsetCode & kNegativeOffset) != 0 ? -1.0 : 1.0);
    const double encoder =
        static_cast<double>(SecondsFromFields(FullYearFromClock(clock.year), clock.month, clock.day,
                                              clock.hour, clock.minute, clock.second)) +
        kMiddleOfSecond - halfHours * kHalfHourSeconds;
    std::tm local{};
    localtime_r(&pcNow.tv_sec, &local);
    const double pc = static_cast<double>(pcNow.tv_sec) + static_cast<double>(local.tm_gmtoff) +
                      static_cast<double>(pcNow.tv_nsec) / 1e9;
    return encoder - pc;
}

}  // namespace q93::watch
