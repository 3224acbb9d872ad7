#include "protocol/parameter_ranges.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "protocol/device_transfer.h"
#include "protocol/parameter_files.h"
#include "protocol/preset_transfer.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

// The offsets of the fields a transfer table sends, in its order.
template <typename Block, typename Steps>
std::vector<std::size_t> sentOffsets(Steps steps) {
    Block block;
    const auto* base = reinterpret_cast<const char*>(&block);
    std::vector<std::size_t> offsets;
    for (const auto& step : steps) {
        const auto* at = step.real != nullptr
                             ? reinterpret_cast<const char*>(&(block.*step.real))
                             : reinterpret_cast<const char*>(&(block.*step.integer));
        offsets.push_back(static_cast<std::size_t>(at - base));
    }
    return offsets;
}

std::vector<std::size_t> rangeOffsets(std::span<const FieldRange> ranges) {
    std::vector<std::size_t> offsets;
    for (const FieldRange& range : ranges)
        offsets.push_back(range.offset);
    return offsets;
}

TEST(RangeTable, HoldsEveryTransferredFieldOnceInTheOrderSent) {
    EXPECT_EQ(rangeOffsets(presetRanges()), sentOffsets<PresetParameters>(presetWriteSteps()));
    EXPECT_EQ(rangeOffsets(deviceRanges()), sentOffsets<DeviceParameters>(deviceWriteSteps()));
}

constexpr double kSensitivity = 6;

// The deviation that shows as `dbu` at `sensitivity`.
double kHzAt(double dbu, double sensitivity = kSensitivity) {
    return 40 * std::pow(10.0, (dbu - sensitivity) / 20);
}

template <typename Block>
Block everyFieldAtItsLow(std::span<const FieldRange> ranges) {
    Block block;
    for (const FieldRange& range : ranges)
        setFieldValue(
            &block, range,
            range.kind == RangeKind::Dbu ? kHzAt((range.low + range.high) / 2) : range.low);
    return block;
}

std::vector<RangeViolation> violations(const PresetParameters& preset) {
    return presetOutOfRange(preset, kSensitivity);
}
std::vector<RangeViolation> violations(const DeviceParameters& device) {
    return deviceOutOfRange(device);
}

// Each bound is in; one step beyond it, a NaN and an infinity are out, naming that field
// alone.
template <typename Block>
void walkBounds(std::span<const FieldRange> ranges) {
    const Block start = everyFieldAtItsLow<Block>(ranges);
    ASSERT_TRUE(violations(start).empty());
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    for (const FieldRange& range : ranges) {
        SCOPED_TRACE(range.name);
        std::vector<double> in, out;
        const double step = range.type == FieldType::Int32 ? 1 : 0.05;
        if (range.kind == RangeKind::Dbu) {
            // The page shows one decimal: 0.04 dB beyond a bound still shows as the bound.
            in = {kHzAt(range.low - 0.04), kHzAt(range.high + 0.04)};
            out = {kHzAt(range.low - 0.06), kHzAt(range.high + 0.06), 0, -2, 1e300};
        } else {
            in = {range.low, range.high};
            out = {range.low - step, range.high + step};
        }
        if (range.type == FieldType::Double) {
            out.push_back(kNaN);
            out.push_back(kInfinity);
        }
        for (const double value : in) {
            Block block = start;
            setFieldValue(&block, range, value);
            EXPECT_TRUE(violations(block).empty()) << value;
        }
        for (const double value : out) {
            Block block = start;
            setFieldValue(&block, range, value);
            const auto found = violations(block);
            ASSERT_EQ(found.size(), 1u) << value;
            EXPECT_EQ(found[0].field, range.name);
        }
    }
}

TEST(RangeTable, EachBoundIsInAndJustBeyondIsOut) {
    walkBounds<PresetParameters>(presetRanges());
    walkBounds<DeviceParameters>(deviceRanges());
}

TEST(RangeTable, TheDbuLevelIsJudgedAtAnySensitivityWhenNoneIsKnown) {
    PresetParameters preset = everyFieldAtItsLow<PresetParameters>(presetRanges());
    preset.modChkAnalogLevel = 0.1;  // -52 dB below 40 kHz: -34 dBu at +18 dBu
    EXPECT_TRUE(presetOutOfRange(preset, std::nullopt).empty());
    EXPECT_EQ(presetOutOfRange(preset, kSensitivity).size(), 1u);
    preset.modChkAnalogLevel = 0.09;
    const auto found = presetOutOfRange(preset, std::nullopt);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].text(),
              "modChkAnalogLevel=0.09 (kHz that show as -34 to -6 dBu at a sensitivity of -18 "
              "to 18 dBu)");
    // No sensitivity brings these in: 500 kHz of pilot is -6 dBu only at +24 dBu.
    preset.modChkAnalogLevel = kHzAt(-20);
    preset.pilotLevel = 500;
    preset.inputLevel = 1e6;
    preset.testToneLevel = -1e300;
    std::vector<std::string> names;
    for (const RangeViolation& out : presetOutOfRange(preset, std::nullopt))
        names.push_back(out.field);
    EXPECT_EQ(names, (std::vector<std::string>{"inputLevel", "pilotLevel", "testToneLevel"}));
}

TEST(RangeTable, AViolationNamesFieldValueAndRange) {
    DeviceParameters device = everyFieldAtItsLow<DeviceParameters>(deviceRanges());
    device.frontBaud = 175;
    device.sensitivity40k = -3.4e38;
    device.correctionValues[3] = std::numeric_limits<double>::quiet_NaN();  // never sent
    std::vector<std::string> texts;
    for (const RangeViolation& found : deviceOutOfRange(device))
        texts.push_back(found.text());
    EXPECT_EQ(texts, (std::vector<std::string>{"sensitivity40k=-3.4e+38 (-18 to 18 dBu)",
                                               "frontBaud=175 (list index 0 to 5)"}));
    EXPECT_EQ(usableSensitivity(device), std::nullopt);
}

TEST(ParameterFiles, OnlyAFileOfTheExactSizeIsReadWhole) {
    test::TempDir dir;
    const std::string good(296, '\x01');
    struct Case {
        std::string bytes;
        const char* message;  // after the quoted path; empty when the file is read
    };
    const Case cases[] = {
        {good, ""},
        {good + "\n", " holds 297 bytes; a device file holds exactly 296 bytes"},
        {good.substr(0, 200), " holds 200 bytes; a device file holds exactly 296 bytes"},
        {"", " holds 0 bytes; a device file holds exactly 296 bytes"},
        {std::string(10 << 20, '\0'),
         " holds 10485760 bytes; a device file holds exactly 296 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.size());
        test::writeFileBytes(dir.file("device.dat"), c.bytes);
        DeviceParameters device;
        device.frontBaud = 9;
        std::string error;
        const bool read = readWholeDeviceFile(dir.file("device.dat"), device, &error);
        EXPECT_EQ(read, *c.message == '\0');
        if (read) {
            EXPECT_EQ(device.frontBaud, 0x01010101);
        } else {
            EXPECT_EQ(error, "'" + dir.file("device.dat") + "'" + c.message);
            EXPECT_EQ(device.frontBaud, 9);
        }
    }
    test::writeFileBytes(dir.file("device.dat"), good);
    PresetParameters preset;
    std::string error;
    EXPECT_FALSE(readWholePresetFile(dir.file("device.dat"), preset, &error));
    EXPECT_EQ(error, "'" + dir.file("device.dat") +
                         "' holds 296 bytes; a preset file holds exactly 200 bytes");
    EXPECT_FALSE(readWholePresetFile(dir.file("Preset-1.dat"), preset, &error));
    EXPECT_EQ(error, "cannot read '" + dir.file("Preset-1.dat") + "': No such file or directory");
}

}  // namespace
}  // namespace q93
