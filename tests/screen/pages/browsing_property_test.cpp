#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "protocol/deviation_units.h"
#include "protocol/parameter_files.h"
#include "screen/pages/property_sheet.h"
#include "tests/screen/pages/page_test_support.h"
#include "tests/support/recording_seam.h"
#include "tests/support/temp_dir.h"

namespace q93::test {
namespace {

// Which values a field of a record may take: any double, any int, or a choice from `low`
// to `high`.
template <typename Record>
struct Choice {
    std::int32_t Record::*field;
    int low;
    int high;
};

using PresetNumber = double PresetParameters::*;
using PresetInteger = std::int32_t PresetParameters::*;
using P = PresetParameters;
using D = DeviceParameters;

constexpr PresetNumber kPresetNumbers[] = {
    &P::inputLevel,       &P::aesSensitivity, &P::sca1Gain,
    &P::sca2Gain,         &P::mpxGain,        &P::pilotLevel,
    &P::pilotPhase,       &P::maxDeviation,   &P::maxModulationOutput,
    &P::testToneLevel,    &P::headphoneLevel, &P::modChkDigitalLevel,
    &P::modChkAnalogLevel};
constexpr PresetInteger kPresetIntegers[] = {&P::delayAnalogDigital,   &P::delayDigitalAnalog,
                                             &P::modChkDigitalOffTime, &P::modChkDigitalOnTime,
                                             &P::modChkAnalogOffTime,  &P::modChkAnalogOnTime};
// Lists from -1 (nothing selected) to their last entry, radio buttons and check boxes.
constexpr Choice<P> kPresetChoices[] = {
    {&P::inputSource, -1, 3},   {&P::scaMode, 0, 3},        {&P::auxOutput, -1, 9},
    {&P::pilotStatus, -1, 2},   {&P::peakLimiterOn, 0, 1},  {&P::powerLimiterOn, 0, 1},
    {&P::testMode, -1, 4},      {&P::preemphasis, -1, 2},   {&P::testTone, 0, 6},
    {&P::operationMode, -1, 3}, {&P::modChkSignaling, 0, 1}};
constexpr Choice<D> kDeviceChoices[] = {
    {&D::frontBaud, -1, 5},    {&D::dte1Baud, -1, 5},      {&D::dte2Baud, -1, 5},
    {&D::dte3Baud, -1, 5},     {&D::frontResponse, -1, 2}, {&D::dte1Response, -1, 2},
    {&D::dte2Response, -1, 2}, {&D::dte3Response, -1, 2},  {&D::activePreset, -1, 7},
    {&D::levelUnit, 0, 1},     {&D::language, 0, 1}};

// Records as files may hold them, valid and invalid, from a fixed seed. Every number that a
// page shows in an edit can be anything, non-finite values and stray bit patterns included,
// and so can the reserved bytes. Lists, radio buttons and check boxes get what their controls
// can show: an index outside a list is stored back as -1 and any non-zero flag as 1.
class RecordMaker {
public:
    PresetParameters preset(int number) {
        PresetParameters p = randomBytes<PresetParameters>();
        for (PresetNumber field : kPresetNumbers) {
            p.*field = anyNumber();
        }
        for (PresetInteger field : kPresetIntegers) {
            p.*field = anyInteger();
        }
        for (const Choice<P>& choice : kPresetChoices) {
            p.*choice.field = between(choice.low, choice.high);
        }
        p.presetNumber = number;  // taken from the file name on reading
        return p;
    }

    DeviceParameters device() {
        DeviceParameters d = randomBytes<DeviceParameters>();
        d.sensitivity40k = anyNumber();
        for (double& value : d.correctionValues) {
            value = anyNumber();
        }
        for (const Choice<D>& choice : kDeviceChoices) {
            d.*choice.field = between(choice.low, choice.high);
        }
        return d;
    }

private:
    int between(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }

    template <typename Record>
    Record randomBytes() {
        std::array<std::uint8_t, sizeof(Record)> bytes;
        for (std::uint8_t& byte : bytes) {
            byte = static_cast<std::uint8_t>(random_());
        }
        return std::bit_cast<Record>(bytes);
    }

    double anyNumber() {
        constexpr double kEdges[] = {0.0,      -0.0,     -0.04,     0.05,   -100.55, 1000,
                                     2500,     1e300,    -1e300,    1e-300, 5e-324,  DBL_MAX,
                                     -DBL_MAX, HUGE_VAL, -HUGE_VAL, NAN,    -NAN};
        switch (between(0, 4)) {
            case 0:  // within a hint, one decimal
                return between(-600, 600) / 10.0;
            case 1:  // many decimals
                return std::uniform_real_distribution(-200.0, 200.0)(random_);
            case 2:  // a long negative beyond every hint
                return -std::uniform_real_distribution(100.0, 1e6)(random_);
            case 3:
                return kEdges[between(0, std::size(kEdges) - 1)];
            default:  // any bit pattern, signalling NaNs included
                return std::bit_cast<double>(random_());
        }
    }

    int anyInteger() {
        constexpr int kEdges[] = {0, 1, 600, 999, 1000, 2500, -1, INT_MIN, INT_MAX};
        if (between(0, 1) == 0) {
            return kEdges[between(0, std::size(kEdges) - 1)];
        }
        return static_cast<int>(static_cast<std::uint32_t>(random_()));
    }

    std::mt19937_64 random_{20261208};
};

// The offset of the first byte at which a file differs from what it should hold, or -1.
template <typename Bytes>
int firstDifference(const std::string& file, const Bytes& expected) {
    if (file.size() != expected.size()) {
        return static_cast<int>(std::min(file.size(), expected.size()));
    }
    for (std::size_t i = 0; i < file.size(); ++i) {
        if (static_cast<std::uint8_t>(file[i]) != expected[i]) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// What the preset file holds after the visit, with the encoder's settings read. One change
// is intended: an input level shown below -18 is shown as -18.0 and stored as such, in kHz
// as -18 kHz, in dBu as the deviation for -18 dBu.
PresetBytes expectedPreset(PresetParameters preset, const DeviceParameters& device) {
    if (DeviationToDisplay(device, preset.inputLevel) < -18.0) {
        preset.inputLevel = device.levelUnit == 0
                                ? -18.0
                                : std::pow(10.0, 0.05 * -18.0) /
                                      (0.025 * std::pow(10.0, 0.05 * device.sensitivity40k));
    }
    return encodePreset(preset);
}

void visitEveryTab(MyPropertySheet& sheet) {
    for (int tab = 1; tab < sheet.count(); ++tab) {
        sheet.setCurrentIndex(tab);
    }
    sheet.setCurrentIndex(0);
}

class BrowsingProperty : public ::testing::Test {
protected:
    RecordingSeam seam;
    CountingOwner owner;
    MyPropertySheet sheet{&owner};
};

// The main window's way through a preset node and then its encoder node: read the files,
// visit every tab, save. The files afterwards are byte for byte what they were.
TEST_F(BrowsingProperty, VisitingEveryTabAndSavingKeepsTheFiles) {
    TempDir folder;
    const WorkingDirectory inFolder(folder.path());
    writeFileBytes(folder.file("setup.txt"), "");  // with the Correction values page
    const std::string devicePath = folder.file("device.dat");
    RecordMaker make;
    int refusedSettings = 0;
    for (int round = 0; round < 300; ++round) {
        const int number = round % 8 + 1;
        const std::string presetPath = folder.file("Preset-" + std::to_string(number) + ".dat");
        const PresetParameters preset = make.preset(number);
        const DeviceParameters device = make.device();
        ASSERT_TRUE(writePresetFile(presetPath, preset));
        ASSERT_TRUE(writeDeviceFile(devicePath, device));

        sheet.ShowPresetPages();
        sheet.ReadPresetFile(presetPath);
        sheet.ReadDeviceFile(devicePath);
        visitEveryTab(sheet);
        sheet.WritePresetFile(presetPath);
        EXPECT_EQ(firstDifference(readFileBytes(presetPath),
                                  expectedPreset(preset, sheet.parameters().device)),
                  -1)
            << "round " << round;

        sheet.ShowDevicePages();
        ASSERT_EQ(sheet.count(), 4);
        sheet.ReadDeviceFile(devicePath);
        const std::size_t warned = seam.warnings.size();
        visitEveryTab(sheet);
        // A sensitivity that shows as no number (nan, -0.0) keeps the user on the Settings
        // page and the file as it was.
        refusedSettings += seam.warnings.size() > warned ? 1 : 0;
        sheet.WriteDeviceFile(devicePath);
        EXPECT_EQ(firstDifference(readFileBytes(devicePath), encodeDevice(device)), -1)
            << "round " << round;
    }
    // The rounds cover both outcomes of the Settings page's number check.
    EXPECT_GT(refusedSettings, 0);
    EXPECT_LT(refusedSettings, 150);
}

}  // namespace
}  // namespace q93::test
