#pragma once

#include <string_view>

namespace q93 {

// The Settings page's test that its sensitivity text is a number at all, before anything is
// stored. Leading blanks and tabs are skipped, the longest decimal number (sign, digits,
// point, exponent) is taken, and only blanks and tabs may follow it. A value of zero counts
// only when the text starts with the digit 0, so "", "-", "." and "-0" are refused while
// "0" and "0.0" pass. The comma is not a decimal separator here: "1,5" is refused.
bool IsSensitivityNumber(std::string_view text);

}  // namespace q93
