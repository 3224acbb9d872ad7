#pragma once

#include <ctime>

#include "protocol/clock_values.h"

namespace q93::ctl {

// The PC's local date and time as the encoder takes it, with the offset code 0 that the
// clock page's "PC Time" sends.
ClockValues pcClock();

// The local time a clock read back stands for, in seconds since the epoch.
std::time_t clockSeconds(const ClockValues& clock);

}  // namespace q93::ctl
