#include "protocol/number_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace q93 {
namespace {

struct FixedCase {
    double value;
    int decimals;
    const char* text;
};

TEST(NumberFormat, FormatsWithTheGivenDecimals) {
    const FixedCase cases[] = {
        {0.0, 1, "0.0"},      {-6.02, 1, "-6.0"}, {2.25, 1, "2.2"},   {2.35, 1, "2.4"},
        {317.68, 1, "317.7"}, {1.005, 2, "1.00"}, {-0.04, 1, "-0.0"}, {7.0, 0, "7"},
    };
    for (const FixedCase& c : cases) {
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.text) << c.value;
    }
}

struct ParseCase {
    const char* text;
    double number;
};

TEST(NumberFormat, ParsesTheLeadingNumberWithCommaAsPoint) {
    const ParseCase cases[] = {
        {"1,25", 1.25}, {"-0.5", -0.5}, {".5", 0.5},     {"12abc", 12}, {"", 0},
        {"-", 0},       {"abc", 0},     {"  3.5", 3.5},  {"1e2", 100},  {"+4", 4},
        {"1,2,3", 1.2}, {"5.", 5},      {"-.25", -0.25},
    };
    for (const ParseCase& c : cases) {
        EXPECT_DOUBLE_EQ(ParseNumber(c.text), c.number) << c.text;
    }
}

// Any leading white space, infinities and NaNs, hexadecimal: what strtod reads.
TEST(NumberFormat, ReadsWhatTheStandardConversionReads) {
    const ParseCase cases[] = {
        {"\n 5", 5},         {"\v\f\r2,5", 2.5}, {"inf", HUGE_VAL},  {"-Infinity", -HUGE_VAL},
        {"1e999", HUGE_VAL}, {"0x1p4", 16},      {"infx", HUGE_VAL}, {"i", 0},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(ParseNumber(c.text), c.number) << c.text;
    }
    EXPECT_TRUE(std::isnan(ParseNumber(" nan")));
    EXPECT_TRUE(std::isnan(ParseNumber("-NAN(1)")));
    EXPECT_EQ(ParseRounded("inf", 1), HUGE_VAL);
    EXPECT_TRUE(std::isnan(ParseRounded("nan", 1)));
}

TEST(NumberFormat, ReadsOnlyTheFirst254Characters) {
    const std::string longText = std::string(254, ' ') + "7";
    EXPECT_EQ(ParseNumber(longText), 0);
    EXPECT_EQ(ParseInteger(longText), 0);
    EXPECT_EQ(ParseNumber(std::string(253, ' ') + "7"), 7);
}

TEST(NumberFormat, RoundsThroughItsPrintedForm) {
    const FixedCase cases[] = {
        {-7.26, 1, "-7.26"},
        {1.25, 2, "1,25"},
        {2.27, 1, "2.27"},
        {-0.04, 1, "-0,04"},
    };
    const double expected[] = {-7.3, 1.25, 2.3, -0.0};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_DOUBLE_EQ(ParseRounded(cases[i].text, cases[i].decimals), expected[i])
            << cases[i].text;
    }
}

TEST(NumberFormat, IgnoresAGermanSystemLocale) {
    // Qt applications switch the C locale to the system's; the pages must keep the point.
    const char* chosen = std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(FormatFixed(1.5, 1), "1.5");
    EXPECT_DOUBLE_EQ(ParseNumber("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(StandardDecimal("2.25"), 2.25);
    if (chosen != nullptr) {
        std::setlocale(LC_ALL, "C");
    }
}

struct IntegerCase {
    const char* text;
    int value;
};

TEST(NumberFormat, ParsesTheLeadingInteger) {
    const IntegerCase cases[] = {
        {"600", 600},
        {"", 0},
        {"12.7", 12},
        {"-3", -3},
        {"x5", 0},
        {" 42", 42},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const IntegerCase& c : cases) {
        EXPECT_EQ(ParseInteger(c.text), c.value) << c.text;
    }
    EXPECT_EQ(FormatInteger(-42), "-42");
}

}  // namespace
}  // namespace q93
