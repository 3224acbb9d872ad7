#pragma once

#include <string>
#include <string_view>

namespace q93 {

// Text forms of the values on the pages. Independent of the C locale, because a German
// system locale would otherwise turn the decimal point into a comma on screen and in parsing.

// The value with `decimals` digits after the point, as "%.nf" prints it.
std::string FormatFixed(double value, int decimals);

// The leading number of at most 254 characters of text, a comma read as a point, as
// StandardDecimal reads it; 0 when the text does not start with a number.
double ParseNumber(std::string_view text);

// ParseNumber, rounded to `decimals` digits the way printing and reading back rounds.
double ParseRounded(std::string_view text, int decimals);

// The leading decimal integer of at most 254 characters of text, 0 when there is none;
// values beyond the int range saturate.
int ParseInteger(std::string_view text);

std::string FormatInteger(int value);

// What the C library's decimal conversion (strtod) reads from the start of `text`, in the
// "C" locale whatever the process's: leading white space of any kind, then a decimal or
// hexadecimal number with its exponent, "inf", "infinity" or "nan"; 0 when there is none.
// Values beyond the double range give infinity, as strtod gives them.
double StandardDecimal(std::string_view text);

// The longest leading decimal number of `text` (blanks and tabs skipped, sign, fraction,
// exponent) without any comma replacement. `consumed` receives the number of characters
// the number and the blanks before it take, 0 when there is no number.
double ParseDecimalPrefix(std::string_view text, std::size_t* consumed = nullptr);

}  // namespace q93
