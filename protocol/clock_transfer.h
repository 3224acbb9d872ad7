#pragma once

#include "protocol/device_connection.h"

namespace q93 {

// The encoder's clock as the wire carries it, one byte each: two-digit year, month, day,
// hour, minute, second, and the offset code (half hours in bits 0-4, bit 5 for negative).
struct ClockValues {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int offsetCode = 0;
};

// Sets the encoder's clock. 0, or -1 after the failure was shown.
int WriteRtc(DeviceConnection& connection, int year, int month, int day, int hour, int minute,
             int second, int offsetCode);
// Reads it back; the out values are written only on success.
int ReadRtc(DeviceConnection& connection, int& year, int& month, int& day, int& hour, int& minute,
            int& second, int& offsetCode);
int WriteRtc(DeviceConnection& connection, const ClockValues& values);
int ReadRtc(DeviceConnection& connection, ClockValues& values);

// The offsets offered run from -12:00 to +12:00 in half hours: 49 entries, entry 24 is 0:00.
inline constexpr int kOffsetEntries = 49;
inline constexpr int kZeroOffsetEntry = 24;
int offsetCodeForEntry(int entry);
int offsetEntryForCode(int code);
// A two-digit year as a calendar year: below 70 in this century, else in the last.
int calendarYear(int twoDigitYear);

}  // namespace q93
