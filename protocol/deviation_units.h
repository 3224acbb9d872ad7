#pragma once

#include <string>

#include "protocol/parameter_set.h"

namespace q93 {

// Deviation in kHz that corresponds to +18, -6 and -18 dBu at the current sensitivity.
// Refreshed by every DeviationToDisplay (unless the sensitivity gives no level at all) and
// read right afterwards by the pages for their unit texts, on the same thread. Start at 0.
extern thread_local double deviationAtPlus18dBu;
extern thread_local double deviationAtMinus6dBu;
extern thread_local double deviationAtMinus18dBu;

// A deviation in kHz in the display unit that the device's levelUnit selects (kHz, or dBu
// through sensitivity40k, the dBu level that gives 40 kHz).
double DeviationToDisplay(const DeviceParameters& device, double deviation);
// A display value back to a deviation in kHz.
double DisplayToDeviation(const DeviceParameters& device, double display);

// The unit text beside a deviation edit: in kHz the range from `lowKHz` to `highKHz`
// (string 109), in dBu the fixed string `dbuStringId` (110 or 124). UTF-8.
std::string DeviationUnitText(const DeviceParameters& device, double lowKHz, double highKHz,
                              int dbuStringId);

// A string-table pattern holding "%.1f" placeholders, filled in order with one decimal each.
std::string FormatOneDecimalPattern(const char* pattern, double first, double second);

}  // namespace q93
