#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace q93 {

// The seven bytes of a clock transfer, in the order the encoder takes and returns them.
// year is two digits: the calendar year minus 2000 when written.
struct ClockValues {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int offsetCode = 0;

    bool operator==(const ClockValues&) const = default;
};

// The values to send for a calendar date and time of day; the year goes out as its last
// two digits (year - 2000 for 2000-2099).
ClockValues ComposeClock(int fullYear, int month, int day, int hour, int minute, int second,
                         int offsetCode);

// What keeps the values from being a time the encoder's clock can hold, in words ("no month
// 13 (1..12)", "the encoder keeps the years 2000..2099, not 2100"); empty when nothing
// does. q93ctl's --time and the clock page's send are both held to it.
std::string clockFault(const ClockValues& clock);

// The calendar year of a two-digit year read back: 0-69 are 2000-2069, 70-99 1970-1999.
int FullYearFromClock(int twoDigitYear);

// A calendar date and time of day counted as seconds on one scale (as if it were UTC), so
// that two clock readings can be compared and advanced; and the host's local time on it,
// which the encoder's clock starts from.
std::int64_t SecondsFromFields(int fullYear, int month, int day, int hour, int minute, int second);
std::int64_t HostLocalSeconds();

// The time offsets the clock page offers: 49 entries from "-12:00" to "12:00" in half
// hours, entry i standing for (i - 24) half hours.
inline constexpr int kOffsetEntryCount = 49;
inline constexpr int kZeroOffsetEntry = 24;

// The entries in list order.
std::vector<std::string> OffsetListEntries();

// The byte the clock transfers exchange: bit 5 marks a negative offset, bits 0-4 hold its
// size in half hours. An index outside the list sends no offset (code 0).
int OffsetCodeFromEntry(int entry);

// The list entry of a code read from the encoder, or -1 when the list has no such entry.
int OffsetEntryFromCode(int code);

}  // namespace q93
