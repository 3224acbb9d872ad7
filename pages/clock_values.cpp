#include "pages/clock_values.h"

namespace q93 {

ClockValues ComposeClock(int fullYear, int month, int day, int hour, int minute, int second,
                         int offsetCode) {
    // year - 2000 for this century; a year of the last century (1970-1999, which a read
    // can bring back) goes out as its two digits, the one byte the encoder keeps for it.
    const int twoDigitYear = ((fullYear - 2000) % 100 + 100) % 100;
    return ClockValues{twoDigitYear, month, day, hour, minute, second, offsetCode};
}

int FullYearFromClock(int twoDigitYear) {
    // The encoder keeps two digits; years below 70 belong to this century.
    const int year = twoDigitYear < 70 ? twoDigitYear + 100 : twoDigitYear;
    return year + 1900;
}

}  // namespace q93
