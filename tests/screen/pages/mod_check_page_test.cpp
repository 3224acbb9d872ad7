#include <QCheckBox>
#include <QTest>

#include "tests/screen/pages/page_test_support.h"

namespace q93::test {
namespace {

using ModCheckPage = SheetTest;

constexpr int kModCheckIndex = 3;

TEST_P(ModCheckPage, ShowsTheAnalogLevelInDbuWhateverTheUnit) {
    params().device.levelUnit = 0;
    params().preset.modChkAnalogLevel = 20;
    params().preset.modChkSignaling = 1;
    params().preset.modChkDigitalOffTime = 600;
    params().preset.modChkDigitalOnTime = 1;
    params().preset.modChkDigitalLevel = -49.96;
    params().preset.modChkAnalogOffTime = 30;
    params().preset.modChkAnalogOnTime = 45;
    PropertyPage* page = openPresetPage(kModCheckIndex);
    EXPECT_TRUE(page->controlAs<QCheckBox>(1065)->isChecked());
    EXPECT_EQ(page->controlAs<QCheckBox>(1065)->text(),
              text("Signalisierung aktivieren", "Activate signaling"));
    EXPECT_EQ(editText(1063), "600");
    EXPECT_EQ(editText(1069), "1");
    EXPECT_EQ(editText(1064), "-50.0");
    EXPECT_EQ(editText(1066), "30");
    EXPECT_EQ(editText(1070), "45");
    EXPECT_EQ(editText(1067), "-6.0");
    EXPECT_EQ(params().device.levelUnit, 0);
}

TEST_P(ModCheckPage, StoresTheAnalogLevelFromDbu) {
    params().device.levelUnit = 0;
    openPresetPage(kModCheckIndex);
    setEditText(1067, "-6,0");
    setEditText(1064, "-20,25");
    leavePage();
    EXPECT_NEAR(params().preset.modChkAnalogLevel, 20.05, 0.005);
    EXPECT_DOUBLE_EQ(params().preset.modChkDigitalLevel, -20.2);
    EXPECT_EQ(params().device.levelUnit, 0);
}

TEST_P(ModCheckPage, StoresTimesAsIntegersAndAnEmptyTimeAsZero) {
    params().preset.modChkSignaling = 1;
    params().preset.modChkDigitalOffTime = 5;
    PropertyPage* page = openPresetPage(kModCheckIndex);
    edit(1063)->clear();
    QTest::keyClicks(edit(1069), "-12345");
    QTest::keyClicks(edit(1066), "1.5");
    page->controlAs<QCheckBox>(1065)->setChecked(false);
    EXPECT_EQ(editText(1069), "012");  // the loaded 0, digits only, three at most
    EXPECT_EQ(editText(1066), "015");
    leavePage();
    EXPECT_EQ(params().preset.modChkDigitalOffTime, 0);
    EXPECT_EQ(params().preset.modChkDigitalOnTime, 12);
    EXPECT_EQ(params().preset.modChkAnalogOffTime, 15);
    EXPECT_EQ(params().preset.modChkSignaling, 0);
}

Q93_PAGES_BOTH_LANGUAGES(ModCheckPage);

}  // namespace
}  // namespace q93::test
