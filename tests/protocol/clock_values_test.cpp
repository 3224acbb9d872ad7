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

// The bounds q93ctl's --time and the clock page's send are both held to.
TEST(ClockValues, AFaultNamesThePartThatIsOff) {
    const ClockValues good = ComposeClock(2024, 2, 29, 23, 59, 59, OffsetCodeFromEntry(0));
    EXPECT_EQ(clockFault(good), "");
    const std::pair<ClockValues, const char*> cases[] = {
        {ClockValues{100, 1, 1, 0, 0, 0, 0}, "the encoder keeps the years 2000..2099, not 2100"},
        {ClockValues{-1, 1, 1, 0, 0, 0, 0}, "the encoder keeps the years 2000..2099, not 1999"},
        {ComposeClock(2024, 13, 1, 0, 0, 0, 0), "no month 13 (1..12)"},
        {ComposeClock(2023, 2, 29, 0, 0, 0, 0), "no day 29 in 2023-02, which has 28 days"},
        {ComposeClock(2024, 4, 1, 24, 0, 0, 0), "no hour 24 (0..23)"},
        {ComposeClock(2024, 4, 1, 0, 60, 0, 0), "no minute 60 (0..59)"},
        {ComposeClock(2024, 4, 1, 0, 0, -1, 0), "no second -1 (0..59)"},
        {ComposeClock(2024, 4, 1, 0, 0, 0, 0x1F),
         "no time offset code 31 (-12:00 to 12:00 in half hours)"},
    };
    for (const auto& [clock, fault] : cases)
        EXPECT_EQ(clockFault(clock), fault);
}

}  // namespace
}  // namespace q93
