#include "cli/pc_clock.h"

namespace q93::ctl {

ClockValues pcClock() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return ComposeClock(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec, 0);
}

std::time_t clockSeconds(const ClockValues& clock) {
    std::tm local{};
    local.tm_year = FullYearFromClock(clock.year) - 1900;
    local.tm_mon = clock.month - 1;
    local.tm_mday = clock.day;
    local.tm_hour = clock.hour;
    local.tm_min = clock.minute;
    local.tm_sec = clock.second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

}  // namespace q93::ctl
