#include <climits>
#include <cmath>

#include "protocol/parameter_files.h"
#include "tests/screen/pages/page_test_support.h"
#include "tests/support/temp_dir.h"

namespace q93::test {
namespace {

using ModePage = SheetTest;
using TestPage = SheetTest;

constexpr int kModeIndex = 4;
constexpr int kTestIndex = 5;

TEST_P(ModePage, ShowsAndStoresBothLists) {
    params().preset.operationMode = 3;
    params().preset.preemphasis = 2;
    openPresetPage(kModeIndex);
    EXPECT_EQ(list(1053)->currentText(), text("Testton", "Testtone"));
    EXPECT_EQ(list(1017)->currentText(), "75us");
    list(1053)->setCurrentIndex(1);
    leavePage();
    EXPECT_EQ(params().preset.operationMode, 1);
    EXPECT_EQ(params().preset.preemphasis, 2);
}

TEST_P(ModePage, KeepsAnIndexOutsideTheList) {
    params().preset.preemphasis = 3;
    openPresetPage(kModeIndex);
    EXPECT_EQ(list(1017)->currentIndex(), -1);
    EXPECT_EQ(list(1017)->currentText(), "");
    leavePage();
    EXPECT_EQ(params().preset.preemphasis, 3);
}

TEST_P(TestPage, CountsTheTestToneFromOne) {
    params().preset.testTone = 6;
    params().preset.testMode = 4;
    openPresetPage(kTestIndex);
    EXPECT_EQ(list(1016)->currentText(), "15 kHz");
    EXPECT_EQ(list(1040)->currentText(), text("Rechts = - Links", "Right = - Left"));
    list(1016)->setCurrentIndex(2);
    leavePage();
    EXPECT_EQ(params().preset.testTone, 3);
    EXPECT_EQ(params().preset.testMode, 4);
}

TEST_P(TestPage, KeepsAnEmptyTestToneEmpty) {
    openPresetPage(kTestIndex);
    EXPECT_EQ(list(1016)->currentIndex(), -1);
    leavePage();
    EXPECT_EQ(params().preset.testTone, 0);
}

// A corrupt file may hold any number as the test tone, INT_MIN included: no tone is shown,
// and leaving the page stores what an empty list stores.
TEST_P(TestPage, ShowsNoToneAndKeepsANumberOutsideTheList) {
    TempDir folder;
    const std::string path = folder.file("Preset-1.dat");
    for (const int tone : {INT_MIN, -1, 7, INT_MAX}) {
        PresetParameters stored{};
        stored.testTone = tone;
        ASSERT_TRUE(writePresetFile(path, stored));
        sheet->ShowPresetPages();
        sheet->ReadPresetFile(path);
        sheet->setCurrentIndex(kTestIndex);
        EXPECT_EQ(list(1016)->currentIndex(), -1) << tone;
        leavePage();
        EXPECT_EQ(params().preset.testTone, tone) << tone;
    }
}

TEST_P(TestPage, ShowsTheLevelInTheChosenUnit) {
    params().preset.testToneLevel = 40;
    openPresetPage(kTestIndex);
    EXPECT_EQ(editText(1008), "40.0");
    EXPECT_EQ(label(1009)->text(), text("kHz ( 5.0 bis 317.7 kHz )", "kHz ( 5.0 to 317.7 kHz )"));

    params().device.levelUnit = 1;
    params().device.sensitivity40k = 6;
    openPresetPage(kTestIndex);
    EXPECT_EQ(editText(1008), "6.0");
    EXPECT_EQ(label(1009)->text(), text("dBu ( -18 bis +18 dBu )", "dBu ( -18 to +18 dBu )"));
    setEditText(1008, "0,04");
    leavePage();
    EXPECT_NEAR(params().preset.testToneLevel, 40 / std::pow(10.0, 0.3), 1e-9);
}

Q93_PAGES_BOTH_LANGUAGES(ModePage);
Q93_PAGES_BOTH_LANGUAGES(TestPage);

}  // namespace
}  // namespace q93::test
