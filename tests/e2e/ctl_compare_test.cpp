#include <gtest/gtest.h>

#include "cli/command_words.h"
#include "store/block_compare.h"

namespace q93 {
namespace {

std::vector<std::string> rendered(const std::vector<FieldDifference>& differences) {
    std::vector<std::string> lines;
    for (const FieldDifference& d : differences)
        lines.push_back(d.file + " " + d.field + " " + d.stored + " " + d.encoder + " " + d.unit);
    return lines;
}

DeviceParameters unitsOf(int levelUnit, double sensitivity40k) {
    DeviceParameters units;
    units.levelUnit = levelUnit;
    units.sensitivity40k = sensitivity40k;
    return units;
}

TEST(BlockCompare, PresetFieldsShowAsThePagesShowThem) {
    PresetParameters stored, encoder;
    stored.inputLevel = 40.0;
    encoder.inputLevel = 20.0;
    stored.pilotPhase = 1.0;
    encoder.pilotPhase = -1.5;
    stored.testTone = 3;
    encoder.testTone = 4;
    stored.modChkAnalogLevel = encoder.modChkAnalogLevel = 2.0;
    encoder.modChkAnalogLevel = 4.0;
    // Equal as the wire carries them, and apart by less than one decimal.
    stored.maxDeviation = 75.1;
    encoder.maxDeviation = static_cast<float>(75.1);
    stored.headphoneLevel = -20.0;
    encoder.headphoneLevel = -20.01;
    // Never transferred, so never a difference.
    stored.delayAnalogDigital = 5;

    EXPECT_EQ(rendered(comparePreset(3, stored, encoder, unitsOf(0, 6.0))),
              (std::vector<std::string>{
                  "Preset-3.dat inputLevel 40.0 20.0 kHz",
                  "Preset-3.dat pilotPhase 1.0 -1.5 \xC2\xB0",
                  "Preset-3.dat testTone 3 4 ",
                  "Preset-3.dat headphoneLevel -20 -20.01 dB",
                  "Preset-3.dat modChkAnalogLevel -20.0 -14.0 dBu",
              }));
    encoder.inputLevel = 10.0;
    EXPECT_EQ(rendered(comparePreset(1, stored, encoder, unitsOf(1, 6.0))).front(),
              "Preset-1.dat inputLevel 6.0 -6.0 dBu");
    EXPECT_TRUE(comparePreset(1, stored, stored, unitsOf(1, 6.0)).empty());
}

// In the order of the read table, the never transferred correction values left out.
TEST(BlockCompare, DeviceFieldsAreTheTwelveTransferred) {
    DeviceParameters stored = unitsOf(0, 6.0), encoder = unitsOf(1, 0.0);
    encoder.correctionValues[0] = 3.0;
    encoder.dte2Baud = 5;
    EXPECT_EQ(rendered(compareDevice(stored, encoder, stored)),
              (std::vector<std::string>{
                  "device.dat sensitivity40k 6.0 0.0 dBu",
                  "device.dat levelUnit 0 1 ",
                  "device.dat dte2Baud 0 5 ",
              }));
}

TEST(PresetList, TakesNumbersAndRanges) {
    struct Case {
        const char* text;
        std::vector<int> numbers;  // empty: refused
    };
    const Case cases[] = {
        {"3", {3}},          {"1,3,5-8", {1, 3, 5, 6, 7, 8}},
        {"8-8,2,2", {2, 8}}, {"1-8", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"0", {}},           {"9", {}},
        {"3-1", {}},         {"", {}},
        {"1,", {}},          {"a", {}},
        {"1-", {}},
    };
    for (const Case& c : cases) {
        std::vector<int> numbers;
        const bool taken = ctl::parsePresetList(c.text, numbers);
        EXPECT_EQ(taken, !c.numbers.empty()) << c.text;
        if (taken) {
            EXPECT_EQ(numbers, c.numbers) << c.text;
        }
    }
}

}  // namespace
}  // namespace q93
