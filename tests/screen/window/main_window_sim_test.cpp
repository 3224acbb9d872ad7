// The main window's commands against the real q93sim over TCP.
#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <filesystem>

#include "protocol/parameter_set.h"
#include "resources/templates/main_window_templates.h"
#include "screen/pages/property_sheet.h"
#include "screen/pages/rtc_prop.h"
#include "tests/screen/window/main_window_fixture.h"
#include "tests/support/sim_process.h"

namespace q93::test {
namespace {

namespace fs = std::filesystem;

const std::string kNoAnswer = "Keine Antwort vom Gerät ( Timeout )!";

TEST_F(MainWindowWithSim, ReadOnAPresetFillsThePagesFromTheEncoder) {
    fs::create_directories(simStore());
    ASSERT_TRUE(writePresetFile(simStore() + "Preset-3.dat", engineersPreset()));
    startSim();
    ASSERT_TRUE(select(node(0, 0, 3)));

    click(kReadButtonId);

    EXPECT_TRUE(seam.warnings.empty()) << seam.warnings.front();
    EXPECT_EQ(sentPart(params().preset), sentPart(engineersPreset()));
    EXPECT_EQ(params().preset.presetNumber, 3);
    // The values reach the file when the node is left.
    ASSERT_TRUE(select(node(0, 0, 4)));
    PresetParameters stored;
    ASSERT_EQ(readPresetFile(folder + "Preset-3.dat", stored), 200);
    EXPECT_EQ(sentPart(stored), sentPart(engineersPreset()));
}

TEST_F(MainWindowWithSim, UpdateSavesThePresetAndTheEncoderHoldsIt) {
    startSim();
    ASSERT_TRUE(writePresetFile(folder + "Preset-4.dat", engineersPreset()));
    ASSERT_TRUE(select(node(0, 0, 4)));

    click(kUpdateButtonId);

    EXPECT_TRUE(seam.warnings.empty()) << seam.warnings.front();
    PresetParameters held;
    ASSERT_EQ(readPresetFile(simStore() + "Preset-4.dat", held), 200);
    EXPECT_EQ(sentPart(held), sentPart(engineersPreset()));
}

TEST_F(MainWindowWithSim, ReadAgainstASilentEncoderShowsTheTimeoutOnceAndKeepsThePages) {
    startSim({"--fault", "drop-answer:1"});
    ASSERT_TRUE(writePresetFile(folder + "Preset-1.dat", engineersPreset()));
    ASSERT_TRUE(select(node(0, 0, 1)));

    click(kReadButtonId);

    EXPECT_EQ(seam.warnings, std::vector<std::string>{kNoAnswer});
    EXPECT_EQ(sentPart(params().preset), sentPart(engineersPreset()));
}

TEST_F(MainWindowWithSim, TheClockPageSetsAndReadsTheEncodersClock) {
    startSim();
    ASSERT_TRUE(select(node(0, 0)));
    window().sheet()->setCurrentIndex(1);
    RTCProp* clock = window().sheet()->clockPage();
    ASSERT_EQ(window().sheet()->activePage(), static_cast<PropertyPage*>(clock));
    clock->controlAs<QRadioButton>(1048)->click();  // Manual
    clock->controlAs<QDateEdit>(1021)->setDate(QDate(2031, 5, 17));
    clock->controlAs<QTimeEdit>(1022)->setTime(QTime(10, 20, 30));
    clock->controlAs<QPushButton>(1006)->click();  // Send
    clock->controlAs<QDateEdit>(1021)->setDate(QDate(2001, 1, 1));

    clock->controlAs<QPushButton>(1005)->click();  // Read

    EXPECT_TRUE(seam.warnings.empty()) << seam.warnings.front();
    EXPECT_EQ(clock->controlAs<QDateEdit>(1021)->date(), QDate(2031, 5, 17));
    EXPECT_EQ(clock->controlAs<QTimeEdit>(1022)->time().hour(), 10);
}

}  // namespace
}  // namespace q93::test
