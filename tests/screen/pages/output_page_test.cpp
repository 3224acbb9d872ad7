#include <cmath>

#include "tests/screen/pages/page_test_support.h"

namespace q93::test {
namespace {

using OutputPage = SheetTest;

constexpr int kOutputIndex = 1;

TEST_P(OutputPage, ShowsThePilotRangeUpToMinusSixDbu) {
    params().preset.pilotLevel = 6.75;
    openPresetPage(kOutputIndex);
    EXPECT_EQ(editText(1038), "6.8");
    EXPECT_EQ(label(1009)->text(), text("kHz ( 5.0 bis 20.0 kHz )", "kHz ( 5.0 to 20.0 kHz )"));
}

TEST_P(OutputPage, ShowsTheFixedDbuTextWhateverTheSensitivity) {
    for (double sensitivity : {0.0, 9.0, -12.0}) {
        params().device.levelUnit = 1;
        params().device.sensitivity40k = sensitivity;
        openPresetPage(kOutputIndex);
        EXPECT_EQ(label(1009)->text(), text("dBu ( -18 bis -6,1dBu )", "dBu ( -18 to -6,1dBu )"));
    }
}

TEST_P(OutputPage, LoadsEveryField) {
    PresetParameters& preset = params().preset;
    preset.mpxGain = -1.5;
    preset.auxOutput = 9;
    preset.pilotStatus = 2;
    preset.pilotPhase = 4.96;
    preset.headphoneLevel = -60;
    openPresetPage(kOutputIndex);
    EXPECT_EQ(editText(1034), "-1.5");
    EXPECT_EQ(list(1035)->currentText(), "SCA1+2");
    EXPECT_EQ(list(1036)->currentText(), text("Rechteck", "Square"));
    EXPECT_EQ(editText(1037), "5.0");
    EXPECT_EQ(editText(1010), "-60.0");
}

TEST_P(OutputPage, StoresAPilotLevelInDbuRoundedToOneDecimal) {
    params().device.levelUnit = 1;
    openPresetPage(kOutputIndex);
    setEditText(1038, "-7,26");
    leavePage();
    EXPECT_NEAR(params().preset.pilotLevel, 40 * std::pow(10.0, -7.3 / 20), 1e-9);
}

TEST_P(OutputPage, StoresEditsWhenLeft) {
    params().preset.auxOutput = 12;
    openPresetPage(kOutputIndex);
    setEditText(1034, "2,45");
    setEditText(1037, "4.96");
    setEditText(1010, "-12");
    setEditText(1038, "7.54");
    list(1036)->setCurrentIndex(1);
    leavePage();
    const PresetParameters& preset = params().preset;
    EXPECT_DOUBLE_EQ(preset.mpxGain, 2.5);
    EXPECT_DOUBLE_EQ(preset.pilotPhase, 5.0);
    EXPECT_DOUBLE_EQ(preset.headphoneLevel, -12.0);
    EXPECT_DOUBLE_EQ(preset.pilotLevel, 7.5);
    EXPECT_EQ(preset.pilotStatus, 1);
    EXPECT_EQ(preset.auxOutput, 12);  // beyond the list: kept as it was
}

TEST_P(OutputPage, LimitsTheNumericEdits) {
    openPresetPage(kOutputIndex);
    EXPECT_EQ(textLimit(1034), 4);
    EXPECT_EQ(textLimit(1038), 5);
    EXPECT_EQ(textLimit(1037), 4);
    EXPECT_EQ(textLimit(1010), 5);
}

Q93_PAGES_BOTH_LANGUAGES(OutputPage);

}  // namespace
}  // namespace q93::test
