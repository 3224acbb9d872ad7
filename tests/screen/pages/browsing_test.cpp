#include <QTableWidget>
#include <QTest>
#include <cmath>

#include "protocol/parameter_files.h"
#include "tests/screen/pages/page_test_support.h"
#include "tests/support/temp_dir.h"

namespace q93::test {
namespace {

using Browsing = SheetTest;

constexpr int kCorrectionList = 1023;

// One value at the edge of or outside its hint, loaded into a page and browsed past.
struct BrowseCase {
    const char* name;
    bool devicePages;
    int tab;
    int control;
    void (*load)(ParameterSet&);
    const char* shown;
};

const BrowseCase kBrowseCases[] = {
    {"SCA1 gain in four characters", false, 0, 1013,
     [](ParameterSet& p) { p.preset.sca1Gain = -10.5; }, "-10.5"},
    {"AES sensitivity", false, 0, 1031, [](ParameterSet& p) { p.preset.aesSensitivity = -100.55; },
     "-100.5"},
    {"input level 0 in dBu", false, 0, 1030, [](ParameterSet& p) { p.device.levelUnit = 1; },
     "0.0"},
    {"negative input level in dBu", false, 0, 1030,
     [](ParameterSet& p) {
         p.device.levelUnit = 1;
         p.preset.inputLevel = -5;
     },
     "0.0"},
    {"input level in kHz", false, 0, 1030, [](ParameterSet& p) { p.preset.inputLevel = 75.04; },
     "75.0"},
    {"MPX gain in four characters", false, 1, 1034,
     [](ParameterSet& p) { p.preset.mpxGain = -12.25; }, "-12.2"},
    {"pilot level in kHz", false, 1, 1038, [](ParameterSet& p) { p.preset.pilotLevel = 75.04; },
     "75.0"},
    {"negative pilot level in dBu", false, 1, 1038,
     [](ParameterSet& p) {
         p.device.levelUnit = 1;
         p.preset.pilotLevel = -3;
     },
     "0.0"},
    {"headphone level", false, 1, 1010, [](ParameterSet& p) { p.preset.headphoneLevel = -60.04; },
     "-60.0"},
    {"maximum deviation", false, 2, 1039, [](ParameterSet& p) { p.preset.maxDeviation = 75.04; },
     "75.0"},
    {"maximum modulation output", false, 2, 1018,
     [](ParameterSet& p) { p.preset.maxModulationOutput = -100.55; }, "-100.5"},
    {"digital off time 1000 s", false, 3, 1063,
     [](ParameterSet& p) { p.preset.modChkDigitalOffTime = 1000; }, "1000"},
    {"analog on time 2500 s", false, 3, 1070,
     [](ParameterSet& p) { p.preset.modChkAnalogOnTime = 2500; }, "2500"},
    {"digital level", false, 3, 1064,
     [](ParameterSet& p) { p.preset.modChkDigitalLevel = -100.55; }, "-100.5"},
    {"analog level 0 of a fresh preset", false, 3, 1067, [](ParameterSet&) {}, "0.0"},
    {"negative analog level", false, 3, 1067,
     [](ParameterSet& p) { p.preset.modChkAnalogLevel = -7; }, "0.0"},
    {"test tone level 0 in dBu", false, 5, 1008, [](ParameterSet& p) { p.device.levelUnit = 1; },
     "0.0"},
    {"sensitivity", true, 0, 1041, [](ParameterSet& p) { p.device.sensitivity40k = -100.55; },
     "-100.5"},
    {"sensitivity of two decimals", true, 0, 1041,
     [](ParameterSet& p) { p.device.sensitivity40k = 2.27; }, "2.3"},
    {"correction value of many decimals", true, 3, kCorrectionList,
     [](ParameterSet& p) { p.device.correctionValues[0] = 0.1234567891234; }, "0.123456789"},
};

// Loading a page shows each value whole, and visiting the page, leaving it, coming back and
// leaving again changes no byte of either record: only what the user edits is stored anew.
TEST_P(Browsing, ChangesNoByteOfTheRecords) {
    TempDir folder;
    const WorkingDirectory inFolder(folder.path());
    writeFileBytes(folder.file("setup.txt"), "");
    for (const BrowseCase& c : kBrowseCases) {
        params().reset();
        c.load(params());
        const PresetBytes preset = encodePreset(params().preset);
        const DeviceBytes device = encodeDevice(params().device);
        if (c.devicePages) {
            sheet->ShowDevicePages();
        } else {
            sheet->ShowPresetPages();
        }
        const int elsewhere = c.tab == 0 ? 1 : 0;
        sheet->setCurrentIndex(c.tab);
        const QString shown =
            c.control == kCorrectionList
                ? sheet->activePage()->controlAs<QTableWidget>(c.control)->item(0, 1)->text()
                : editText(c.control);
        EXPECT_EQ(shown.toStdString(), c.shown) << c.name;
        sheet->setCurrentIndex(elsewhere);
        sheet->setCurrentIndex(c.tab);
        sheet->setCurrentIndex(elsewhere);
        EXPECT_EQ(sheet->currentIndex(), elsewhere) << c.name;
        EXPECT_EQ(encodePreset(params().preset), preset) << c.name;
        EXPECT_EQ(encodeDevice(params().device), device) << c.name;
    }
    EXPECT_TRUE(seam.warnings.empty());
}

TEST_P(Browsing, StoresWhatTheUserEditedAsParsedAndKeepsTheRest) {
    PresetParameters& preset = params().preset;
    preset.maxDeviation = 75.04;
    preset.maxModulationOutput = -2.25;
    openPresetPage(2);
    edit(1039)->clear();
    QTest::keyClicks(edit(1039), "80.06");
    leavePage();
    EXPECT_EQ(preset.maxDeviation, 80.1);
    EXPECT_EQ(preset.maxModulationOutput, -2.25);  // shown as -2.2, not touched

    // A fresh preset in dBu: choosing a test tone leaves the level at 0, not at 40 kHz.
    params().device.levelUnit = 1;
    openPresetPage(5);
    list(1016)->setCurrentIndex(2);
    leavePage();
    EXPECT_EQ(preset.testTone, 3);
    EXPECT_EQ(preset.testToneLevel, 0.0);
    openPresetPage(5);
    setEditText(1008, "-6");
    leavePage();
    EXPECT_DOUBLE_EQ(preset.testToneLevel, 40 * std::pow(10.0, -6.0 / 20));
}

// The number check still reads the text the page shows, loaded or typed.
TEST_P(Browsing, StillRefusesALoadedSensitivityThatShowsAsMinusZero) {
    params().device.sensitivity40k = -0.04;
    sheet->ShowDevicePages();
    EXPECT_EQ(editText(1041), "-0.0");
    sheet->setCurrentIndex(1);
    EXPECT_EQ(sheet->currentIndex(), 0);
    EXPECT_EQ(seam.warnings, std::vector<std::string>{"Geben Sie bitte eine Zahl ein."});
    EXPECT_EQ(params().device.sensitivity40k, -0.04);
}

Q93_PAGES_BOTH_LANGUAGES(Browsing);

}  // namespace
}  // namespace q93::test
