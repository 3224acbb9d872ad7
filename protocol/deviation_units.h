#pragma once

#include <string>

namespace q93 {

// Deviation in kHz that corresponds to +18, -6 and -18 dBu at the current sensitivity.
// Refreshed by every DeviationToDisplay (unless the sensitivity gives no level at all) and
// read right afterwards by the pages for their unit texts. Start at 0.
extern double deviationAtPlus18dBu;
extern double deviationAtMinus6dBu;
extern double deviationAtMinus18dBu;

// A deviation in kHz in the display unit that levelUnit selects (kHz, or dBu through
// sensitivity40k, the dBu level that gives 40 kHz).
double DeviationToDisplay(double deviation);
// A display value back to a deviation in kHz.
double DisplayToDeviation(double display);

// The unit text beside a deviation edit: in kHz the range from `lowKHz` to `highKHz`
// (string 109), in dBu the fixed string `dbuStringId` (110 or 124). UTF-8.
std::string DeviationUnitText(double lowKHz, double highKHz, int dbuStringId);

// A string-table pattern holding "%.1f" placeholders, filled in order with one decimal each.
std::string FormatOneDecimalPattern(const char* pattern, double first, double second);

}  // namespace q93
