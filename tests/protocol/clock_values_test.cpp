#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/clock_values.h"

namespace q93 {
namespace {

TEST(ClockOffsets, ListRunsInHalfHoursFromMinusToPlusTwelve) {
    const std::vector<std::string> entries = OffsetListEntries();
    ASSERT_EQ(entries.size(), 49u);
    const std::vector<std::pair<int, std::string>> expected = {
        {0, "-12:00"}, {1, "-11:30"}, {2, "-11:00"}, {21, "-1:30"}, {22, "-1:00"},
        {23, "-0:30"}, {24, "0:00"},  {25, "0:30"},  {26, "1:00"},  {27, "1:30"},
        {46, "11:00"}, {47, "11:30"}, {48, "12:00"},
    };
    for (const auto& [index, text] : expected) {
        EXPECT_EQ(entries[index], text) << index;
    }
}

TEST(ClockOffsets, EntriesAndCodesMapBothWays) {
    struct Case {
        int entry;
        int code;
    };
    const Case cases[] = {
        {0, 0x38}, {21, 0x23}, {23, 0x21}, {24, 0x00}, {26, 0x02}, {27, 0x03}, {48, 24},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OffsetCodeFromEntry(c.entry), c.code) << c.entry;
        EXPECT_EQ(OffsetEntryFromCode(c.code), c.entry) << c.code;
    }
    for (int entry = 0; entry < kOffsetEntryCount; ++entry) {
        EXPECT_EQ(OffsetEntryFromCode(OffsetCodeFromEntry(entry)), entry);
    }
}

TEST(ClockOffsets, CodesOutsideTheListSelectNothingAndNoEntrySendsNoOffset) {
    for (int code : {0x19, 0x1F, 0x39, 0x3F, 0x40}) {
        EXPECT_EQ(OffsetEntryFromCode(code), -1) << code;
    }
    EXPECT_EQ(OffsetCodeFromEntry(-1), 0);
    EXPECT_EQ(OffsetCodeFromEntry(49), 0);
}

TEST(ClockValues, TwoDigitYearsReadBackIntoTheirCentury) {
    const std::pair<int, int> cases[] = {
        {0, 2000}, {7, 2007}, {8, 2008}, {69, 2069}, {70, 1970}, {75, 1975}, {99, 1999},
    };
    for (const auto& [twoDigits, year] : cases) {
        EXPECT_EQ(FullYearFromClock(twoDigits), year) << twoDigits;
    }
}

TEST(ClockValues, ComposedYearIsTheOneThatReadsBack) {
    EXPECT_EQ(ComposeClock(2008, 12, 31, 23, 59, 59, 0), (ClockValues{8, 12, 31, 23, 59, 59, 0}));
    for (int year : {1970, 1975, 1999, 2000, 2008, 2069}) {
        const ClockValues clock = ComposeClock(year, 1, 1, 0, 0, 0, 0);
        EXPECT_GE(clock.year, 0) << year;
        EXPECT_LE(clock.year, 99) << year;
        EXPECT_EQ(FullYearFromClock(clock.year), year);
    }
}

}  // namespace
}  // namespace q93
