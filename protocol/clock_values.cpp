#include "protocol/clock_values.h"

#include <cstdio>
#include <ctime>

namespace q93 {

std::int64_t SecondsFromFields(int fullYear, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = fullYear - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    return static_cast<std::int64_t>(timegm(&fields));
}

std::int64_t HostLocalSeconds() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return SecondsFromFields(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                             local.tm_min, local.tm_sec);
}

namespace {

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::string outOf(const char* what, int value, const char* range) {
    return std::string("no ") + what + " " + std::to_string(value) + " (" + range + ")";
}

}  // namespace

std::string clockFault(const ClockValues& clock) {
    const int year = 2000 + clock.year;
    if (clock.year < 0 || clock.year > 99)
        return "the encoder keeps the years 2000..2099, not " + std::to_string(year);
    if (clock.month < 1 || clock.month > 12)
        return outOf("month", clock.month, "1..12");
    if (clock.day < 1 || clock.day > daysInMonth(year, clock.month)) {
        char month[16];
        std::snprintf(month, sizeof month, "%04d-%02d", year, clock.month);
        return "no day " + std::to_string(clock.day) + " in " + month + ", which has " +
               std::to_string(daysInMonth(year, clock.month)) + " days";
    }
    if (clock.hour < 0 || clock.hour > 23)
        return outOf("hour", clock.hour, "0..23");
    if (clock.minute < 0 || clock.minute > 59)
        return outOf("minute", clock.minute, "0..59");
    if (clock.second < 0 || clock.second > 59)
        return outOf("second", clock.second, "0..59");
    if (clock.offsetCode != 0 && OffsetEntryFromCode(clock.offsetCode) < 0)
        return outOf("time offset code", clock.offsetCode, "-12:00 to 12:00 in half hours");
    return {};
}

namespace {

constexpr int kNegativeBit = 0x20;
constexpr int kHalfHourMask = 0x1F;

std::string entryText(const char* format, int hours) {
    char text[16];
    std::snprintf(text, sizeof text, format, hours);
    return text;
}

}  // namespace

std::vector<std::string> OffsetListEntries() {
    // The negative half hours come before the full hour ("-1:30" before "-1:00"), and
    // "-0:30" needs its own entry because "%d" cannot print a negative zero.
    std::vector<std::string> entries{"-12:00"};
    for (int hours = -11; hours <= -1; ++hours) {
        entries.push_back(entryText("%d:30", hours));
        entries.push_back(entryText("%d:00", hours));
    }
    entries.push_back("-0:30");
    for (int hours = 0; hours <= 11; ++hours) {
        entries.push_back(entryText("%d:00", hours));
        entries.push_back(entryText("%d:30", hours));
    }
    entries.push_back("12:00");
    return entries;
}

int OffsetCodeFromEntry(int entry) {
    if (entry < 0 || entry >= kOffsetEntryCount)
        return 0;
    if (entry < kZeroOffsetEntry)
        return (kZeroOffsetEntry - entry) | kNegativeBit;
    return entry - kZeroOffsetEntry;
}

int OffsetEntryFromCode(int code) {
    const int entry = (code & kNegativeBit) != 0 ? kZeroOffsetEntry - (code & kHalfHourMask)
                                                 : code + kZeroOffsetEntry;
    return entry >= 0 && entry < kOffsetEntryCount ? entry : -1;
}

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
