#include <gtest/gtest.h>

#include <string>

#include "protocol/settings_number_check.h"

namespace q93 {
namespace {

struct NumberCase {
    const char* text;
    bool accepted;
};

constexpr NumberCase kCases[] = {
    // Zero counts only when the text starts with the digit 0.
    {"0", true},
    {"0.0", true},
    {"00", true},
    {"-0", false},
    {"-0.0", false},
    {".0", false},
    {"", false},
    {"-", false},
    {".", false},
    {"-.", false},
    // Numbers the user may type.
    {".5", true},
    {"-0.5", true},
    {"2.27", true},
    {"18", true},
    {"-18", true},
    {"5.", true},
    // Only blanks and tabs may surround the number.
    {"  6", true},
    {"\t6", true},
    {"6 \t", true},
    {"6x", false},
    {"6 x", false},
    {"--6", false},
    {"6-", false},
    // The comma is no decimal separator for the check.
    {"1,5", false},
    {",5", false},
    // An exponent belongs to the number; beyond a double's range it is no number.
    {"1e1", true},
    {"1e", false},
    {"1e999", false},
    {"-1e999", false},
    // Words the C library would read as numbers are none to the user.
    {"inf", false},
    {"nan", false},
    {"0x10", false},
};

TEST(SettingsNumberCheck, AcceptsNumbersAndRefusesEverythingElse) {
    for (const NumberCase& c : kCases) {
        EXPECT_EQ(IsSensitivityNumber(c.text), c.accepted) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace q93
