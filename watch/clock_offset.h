#pragma once

#include <ctime>

#include "protocol/clock_values.h"

namespace q93::watch {

// How far the encoder's clock is ahead of the PC's (negative: behind), in seconds, for a
// clock read at `pcNow`. The encoder keeps the PC's local time when it was set with "PC
// Time" (offset code 0); a clock set with an offset stands that many half hours ahead of
// that zone, so the offset comes off before the two are compared.
double clockOffsetSeconds(const ClockValues& clock, const timespec& pcNow);

}  // namespace q93::watch
