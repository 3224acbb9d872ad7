#include <QRadioButton>
#include <QTest>

#include "tests/screen/pages/page_test_support.h"

namespace q93::test {
namespace {

using LimiterPage = SheetTest;

constexpr int kLimiterIndex = 2;

TEST_P(LimiterPage, ShowsAnyNonZeroFlagAsOnAndStoresItAsOne) {
    params().preset.peakLimiterOn = 2;
    params().preset.powerLimiterOn = 0;
    PropertyPage* page = openPresetPage(kLimiterIndex);
    auto* peakOn = page->controlAs<QRadioButton>(1011);
    auto* powerOff = page->controlAs<QRadioButton>(1014);
    EXPECT_TRUE(peakOn->isChecked());
    EXPECT_EQ(peakOn->text(), text("An", "On"));
    EXPECT_FALSE(page->controlAs<QRadioButton>(1012)->isChecked());
    EXPECT_TRUE(powerOff->isChecked());
    EXPECT_FALSE(page->controlAs<QRadioButton>(1013)->isChecked());
    leavePage();
    EXPECT_EQ(params().preset.peakLimiterOn, 1);
    EXPECT_EQ(params().preset.powerLimiterOn, 0);
}

TEST_P(LimiterPage, KeepsThePairsApart) {
    PropertyPage* page = openPresetPage(kLimiterIndex);
    page->controlAs<QRadioButton>(1011)->click();
    page->controlAs<QRadioButton>(1013)->click();
    EXPECT_TRUE(page->controlAs<QRadioButton>(1011)->isChecked());
    page->controlAs<QRadioButton>(1014)->click();
    EXPECT_TRUE(page->controlAs<QRadioButton>(1011)->isChecked());
    leavePage();
    EXPECT_EQ(params().preset.peakLimiterOn, 1);
    EXPECT_EQ(params().preset.powerLimiterOn, 0);
}

TEST_P(LimiterPage, StoresTheLimitsAsTypedWithoutRangeCheck) {
    params().preset.maxDeviation = 75;
    params().preset.maxModulationOutput = -6;
    openPresetPage(kLimiterIndex);
    EXPECT_EQ(editText(1039), "75.0");
    EXPECT_EQ(editText(1018), "-6.0");
    edit(1039)->clear();
    QTest::keyClicks(edit(1039), "-150");
    edit(1018)->clear();
    QTest::keyClicks(edit(1018), "-2.25x");
    EXPECT_EQ(editText(1039), "150");   // no minus sign for the deviation
    EXPECT_EQ(editText(1018), "-2.2");  // four characters at most
    leavePage();
    EXPECT_DOUBLE_EQ(params().preset.maxDeviation, 150.0);
    EXPECT_DOUBLE_EQ(params().preset.maxModulationOutput, -2.2);
}

Q93_PAGES_BOTH_LANGUAGES(LimiterPage);

}  // namespace
}  // namespace q93::test
