#include "protocol/parameter_set.h"

#include <gtest/gtest.h>

#include <cstring>

#include "protocol/parameter_fields.h"
#include "protocol/parameter_files.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

double doubleAt(const std::string& bytes, std::size_t offset) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | static_cast<std::uint8_t>(bytes[offset + i]);
    double value;
    std::memcpy(&value, &bits, 8);
    return value;
}

TEST(ParameterSet, StartsZeroWithStatusNotRead) {
    ParameterSet set;
    set.preset.mpxGain = 3;
    set.status.currentInput = 2;
    set.levels.levelSet1[5] = 1.5;
    set.reset();
    EXPECT_EQ(set.preset.mpxGain, 0.0);
    EXPECT_EQ(set.status.currentInput, -1);
    EXPECT_EQ(set.status.digitalChannels, -1);
    EXPECT_EQ(set.status.analogChannels, -1);
    EXPECT_EQ(set.status.aesFrameStatus, -1);
    EXPECT_EQ(set.levels.levelSet1[5].load(), 0.0);
    EXPECT_EQ(encodeDevice(set.device), DeviceBytes{});
}

TEST(ParameterFiles, PresetFieldsLandAtTheirStoredOffsets) {
    test::TempDir dir;
    PresetParameters preset;
    preset.scaMode = 3;
    preset.mpxGain = -1.5;
    preset.modChkAnalogLevel = 20.05;
    preset.testTone = 7;
    ASSERT_TRUE(writePresetFile(dir.file("Preset-1.dat"), preset));
    const std::string bytes = test::readFileBytes(dir.file("Preset-1.dat"));
    ASSERT_EQ(bytes.size(), 200u);
    EXPECT_EQ(bytes.substr(24, 4), std::string("\x03\x00\x00\x00", 4));
    EXPECT_EQ(bytes.substr(56, 8), std::string("\x00\x00\x00\x00\x00\x00\xf8\xbf", 8));
    EXPECT_EQ(doubleAt(bytes, 192), 20.05);
    EXPECT_EQ(bytes[128], 7);
}

TEST(ParameterFiles, DeviceFileIsExactly296BytesWithCorrectionsInOrder) {
    test::TempDir dir;
    DeviceParameters device;
    device.language = 1;
    device.sensitivity40k = 6.0;
    for (int i = 0; i < 20; ++i)
        device.correctionValues[i] = i + 0.25;
    ASSERT_TRUE(writeDeviceFile(dir.file("device.dat"), device));
    const std::string bytes = test::readFileBytes(dir.file("device.dat"));
    ASSERT_EQ(bytes.size(), 296u);
    EXPECT_EQ(bytes[40], 1);
    EXPECT_EQ(doubleAt(bytes, 48), 6.0);
    EXPECT_EQ(doubleAt(bytes, 56 + 19 * 8), 19.25);
}

TEST(ParameterFiles, ReservedBytesSurviveALoadAndStore) {
    test::TempDir dir;
    std::string stored(200, '\0');
    stored[4] = 0x5A;
    stored[132] = 0x6B;
    stored[199] = 0x40;  // high byte of modChkAnalogLevel
    test::writeFileBytes(dir.file("in.dat"), stored);
    PresetParameters preset;
    ASSERT_EQ(readPresetFile(dir.file("in.dat"), preset), 200);
    ASSERT_TRUE(writePresetFile(dir.file("out.dat"), preset));
    EXPECT_EQ(test::readFileBytes(dir.file("out.dat")), stored);
}

TEST(ParameterFiles, ShortFileLeavesTheRestOfTheRecord) {
    test::TempDir dir;
    PresetParameters preset;
    preset.mpxGain = 2.5;
    preset.modChkAnalogLevel = 9.0;
    test::writeFileBytes(dir.file("short.dat"), std::string("\x02\x00\x00\x00", 4));
    EXPECT_EQ(readPresetFile(dir.file("short.dat"), preset), 4);
    EXPECT_EQ(preset.inputSource, 2);
    EXPECT_EQ(preset.mpxGain, 2.5);
    EXPECT_EQ(preset.modChkAnalogLevel, 9.0);
    EXPECT_EQ(readPresetFile(dir.file("missing.dat"), preset), -1);
    EXPECT_FALSE(writeDeviceFile(dir.file("no/such/folder/device.dat"), DeviceParameters{}));
}

TEST(ParameterFiles, PresetNumberComesFromTheNameTail) {
    EXPECT_EQ(presetNumberFromPath("LocationData/Site/Enc/Preset-5.dat"), 5);
    EXPECT_EQ(presetNumberFromPath("x/Preset-3.dat"), 3);
    EXPECT_EQ(presetNumberFromPath("x/Preset-12.dat"), 2);
    EXPECT_EQ(presetNumberFromPath("dat"), 0);
}

TEST(ParameterFields, DescribesEveryFieldByName) {
    PresetParameters preset;
    preset.scaMode = 3;
    preset.mpxGain = -1.5;
    const std::string text = describeBlock(&preset, presetFields());
    EXPECT_NE(text.find("scaMode=3\n"), std::string::npos);
    EXPECT_NE(text.find("mpxGain=-1.5\n"), std::string::npos);
    EXPECT_NE(text.find("modChkAnalogLevel=0\n"), std::string::npos);
    EXPECT_EQ(presetFields().size(), 31u);

    DeviceParameters device;
    device.correctionValues[19] = 0.1;
    const std::string deviceText = describeBlock(&device, deviceFields());
    EXPECT_NE(deviceText.find("correctionValues[20]=0.1\n"), std::string::npos);
    EXPECT_EQ(deviceText.find("correctionValues[21]"), std::string::npos);
}

TEST(ParameterFields, OffsetsAreIncreasingAndInsideTheBlocks) {
    std::size_t previous = 0;
    for (const FieldInfo& field : presetFields()) {
        EXPECT_GE(field.offset, previous) << field.name;
        previous = field.offset + (field.type == FieldType::Int32 ? 4 : 8) * field.count;
        EXPECT_LE(previous, kPresetBlockSize) << field.name;
    }
    previous = 0;
    for (const FieldInfo& field : deviceFields()) {
        EXPECT_GE(field.offset, previous) << field.name;
        previous = field.offset + (field.type == FieldType::Int32 ? 4 : 8) * field.count;
        EXPECT_LE(previous, kDeviceBlockSize) << field.name;
    }
}

}  // namespace
}  // namespace q93
