#include <QRadioButton>
#include <cmath>

#include "screen/pages/input_prop.h"
#include "tests/screen/pages/page_test_support.h"

namespace q93::test {
namespace {

using InputPage = SheetTest;

constexpr int kInputIndex = 0;

struct LevelCase {
    int unit;
    double sensitivity;
    double deviation;
    const char* shown;
    const char* unitGerman;
    const char* unitEnglish;
};

TEST_P(InputPage, ShowsTheLevelInTheChosenUnit) {
    const LevelCase cases[] = {
        {0, 0, 40, "40.0", "kHz ( 5.0 bis 317.7 kHz )", "kHz ( 5.0 to 317.7 kHz )"},
        {0, 6, 40, "40.0", "kHz ( 2.5 bis 159.2 kHz )", "kHz ( 2.5 to 159.2 kHz )"},
        {1, 0, 40, "0.0", "dBu ( -18 bis +18 dBu )", "dBu ( -18 to +18 dBu )"},
        {1, 0, 20, "-6.0", "dBu ( -18 bis +18 dBu )", "dBu ( -18 to +18 dBu )"},
        {1, 6, 40, "6.0", "dBu ( -18 bis +18 dBu )", "dBu ( -18 to +18 dBu )"},
        {1, 0, 0, "0.0", "dBu ( -18 bis +18 dBu )", "dBu ( -18 to +18 dBu )"},
        {1, 0, 1, "-18.0", "dBu ( -18 bis +18 dBu )", "dBu ( -18 to +18 dBu )"},
    };
    for (const LevelCase& c : cases) {
        params().device.levelUnit = c.unit;
        params().device.sensitivity40k = c.sensitivity;
        params().preset.inputLevel = c.deviation;
        openPresetPage(kInputIndex);
        EXPECT_EQ(editText(1030), c.shown) << c.deviation;
        EXPECT_EQ(label(1009)->text(), text(c.unitGerman, c.unitEnglish)) << c.deviation;
    }
}

TEST_P(InputPage, StoresALevelBelowTheDisplayAsItsLowestLevel) {
    params().device.levelUnit = 1;
    params().preset.inputLevel = 1.0;
    openPresetPage(kInputIndex);
    leavePage();
    EXPECT_NEAR(params().preset.inputLevel, 5.036, 0.001);  // -18 dBu
}

TEST_P(InputPage, LoadsEveryField) {
    PresetParameters& preset = params().preset;
    preset.inputSource = 3;
    preset.sca1Gain = -2.25;
    preset.sca2Gain = 6;
    preset.aesSensitivity = -12.34;
    preset.scaMode = 2;
    preset.delayDigitalAnalog = 120;
    preset.delayAnalogDigital = 600;
    PropertyPage* page = openPresetPage(kInputIndex);
    EXPECT_EQ(list(1007)->currentText(), "Auto digital");
    EXPECT_EQ(editText(1013), "-2.2");
    EXPECT_EQ(editText(1014), "6.0");
    EXPECT_EQ(editText(1031), "-12.3");
    EXPECT_TRUE(page->controlAs<QRadioButton>(1034)->isChecked());
    EXPECT_FALSE(page->controlAs<QRadioButton>(1032)->isChecked());
    EXPECT_EQ(editText(1054), "120");
    EXPECT_EQ(editText(1055), "600");
    EXPECT_TRUE(edit(1054)->isHidden());
    EXPECT_EQ(page->controlAs<QRadioButton>(1032)->text(), text("Aus", "Off"));
}

TEST_P(InputPage, StoresEditsWhenLeft) {
    PropertyPage* page = openPresetPage(kInputIndex);
    setEditText(1030, "1,25");
    list(1007)->setCurrentIndex(1);
    setEditText(1013, "-5.55");
    setEditText(1014, "x");
    setEditText(1031, "-20,04");
    setEditText(1054, "7");
    setEditText(1055, "-3");
    page->controlAs<QRadioButton>(1033)->setChecked(true);
    leavePage();
    const PresetParameters& preset = params().preset;
    EXPECT_DOUBLE_EQ(preset.inputLevel, 1.25);
    EXPECT_EQ(preset.inputSource, 1);
    EXPECT_DOUBLE_EQ(preset.sca1Gain, -5.5);  // -5.55 lies just below the half
    EXPECT_DOUBLE_EQ(preset.sca2Gain, 0);
    EXPECT_DOUBLE_EQ(preset.aesSensitivity, -20.0);
    EXPECT_EQ(preset.delayDigitalAnalog, 7);
    EXPECT_EQ(preset.delayAnalogDigital, -3);
    EXPECT_EQ(preset.scaMode, 1);
}

// A source beyond the list shows no entry and is kept as it was, for the check before a
// send to name; the SCA buttons store 3 with none on.
TEST_P(InputPage, KeepsASourceOutsideTheListAndStoresNoScaButtonAsThree) {
    params().preset.inputSource = 4;
    params().preset.scaMode = 9;
    openPresetPage(kInputIndex);
    EXPECT_EQ(list(1007)->currentIndex(), -1);
    leavePage();
    EXPECT_EQ(params().preset.inputSource, 4);
    EXPECT_EQ(params().preset.scaMode, 3);
}

TEST_P(InputPage, StoresALevelInDbuAsItsDeviation) {
    params().device.levelUnit = 1;
    openPresetPage(kInputIndex);
    setEditText(1030, "-6,02");
    leavePage();
    EXPECT_NEAR(params().preset.inputLevel, 40 * std::pow(10.0, -6.02 / 20), 1e-9);
}

TEST_P(InputPage, LimitsTheNumericEdits) {
    openPresetPage(kInputIndex);
    EXPECT_EQ(textLimit(1013), 4);
    EXPECT_EQ(textLimit(1014), 4);
    EXPECT_EQ(textLimit(1030), 5);
    EXPECT_EQ(textLimit(1031), 5);
    EXPECT_EQ(edit(1054)->maxLength(), 32767);
}

Q93_PAGES_BOTH_LANGUAGES(InputPage);

}  // namespace
}  // namespace q93::test
