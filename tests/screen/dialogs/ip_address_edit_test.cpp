#include "screen/kit/ip_address_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>

#include "tests/link/test_case_names.h"
#include "tests/screen/dialogs/link_gui_support.h"

namespace q93 {
namespace {

struct TypingCase {
    const char* name;
    const char* keys;  // '\b' is Backspace
    IpAddressParts address;
};

class IpAddressTyping : public ::testing::TestWithParam<TypingCase> {};

TEST_P(IpAddressTyping, FillsTheFieldsAsTheUserTypes) {
    IpAddressEdit edit;
    edit.show();
    QApplication::setActiveWindow(&edit);
    edit.field(0)->setFocus();
    test::typeIntoFocus(QString::fromLatin1(GetParam().keys));
    EXPECT_EQ(edit.address(), GetParam().address);
}

const TypingCase kTyping[] = {
    {"DotsMoveOn", "192.168.1.20", {192, 168, 1, 20}},
    {"ThreeDigitsMoveOn", "010020030004", {10, 20, 30, 4}},
    {"AboveTwoFiftyFiveBecomesTwoFiftyFive", "10.999.5", {10, 255, 5, 0}},
    {"LettersAndSignsAreDropped", "1a-2.b3", {12, 3, 0, 0}},
    {"BackspaceCrossesTheDot", "1.2\b\b\b7", {7, 0, 0, 0}},
    {"AnEmptyFieldDoesNotMoveOn", "..8", {8, 0, 0, 0}},
};

INSTANTIATE_TEST_SUITE_P(Keys, IpAddressTyping, ::testing::ValuesIn(kTyping), test::RowName());

}  // namespace
}  // namespace q93
