#include "pages/clock_offsets.h"

#include <cstdio>

namespace q93 {
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

}  // namespace q93
