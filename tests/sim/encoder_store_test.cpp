#include "sim/encoder_store.h"

#include <gtest/gtest.h>

#include <cstring>

#include "protocol/parameter_files.h"
#include "tests/sim/sim_test_util.h"
#include "tests/support/temp_dir.h"

namespace q93::test {
namespace {

using sim::EncoderModel;

TEST(SimEncoderStore, WritesTheFactoryFilesOfAnEmptyFolder) {
    TempDir dir;
    EncoderModel model;
    sim::EncoderStore store(dir.path() / "site" / "encoder");
    std::string error;
    ASSERT_TRUE(store.open(model, &error)) << error;
    EXPECT_EQ(readFileBytes(store.devicePath()).size(), 296u);
    for (int n = 1; n <= 8; ++n) {
        const std::string bytes = readFileBytes(store.presetPath(n));
        ASSERT_EQ(bytes.size(), 200u);
        std::int32_t source;
        std::memcpy(&source, bytes.data(), 4);
        EXPECT_EQ(source, EncoderModel::factoryPreset(n).inputSource);
    }
}

TEST(SimEncoderStore, LoadsAnEncoderFolder) {
    TempDir dir;
    PresetParameters p = EncoderModel::factoryPreset(5);
    p.inputSource = 0;
    p.mpxGain = -1.5;
    p.presetNumber = 77;
    ASSERT_TRUE(writePresetFile(dir.file("Preset-5.dat"), p));
    DeviceParameters d = EncoderModel::factoryDevice();
    d.sensitivity40k = -3.0;
    ASSERT_TRUE(writeDeviceFile(dir.file("device.dat"), d));

    EncoderModel model;
    sim::EncoderStore store(dir.path());
    ASSERT_TRUE(store.open(model, nullptr));
    EXPECT_EQ(model.preset(5).inputSource, 0);
    EXPECT_DOUBLE_EQ(model.preset(5).mpxGain, -1.5);
    EXPECT_EQ(model.preset(5).presetNumber, 5) << "the number comes from the file name";
    EXPECT_DOUBLE_EQ(model.device().sensitivity40k, -3.0);
    EXPECT_EQ(model.preset(4).inputSource, EncoderModel::factoryPreset(4).inputSource);
}

TEST(SimEncoderStore, EverySetCommandSavesItsFile) {
    TempDir dir;
    EncoderModel model;
    sim::EncoderStore store(dir.path());
    ASSERT_TRUE(store.open(model, nullptr));
    sim::FaultPlan faults;
    sim::EncoderService service(model, faults, &store);

    roundTrip(service, "2d,05,4d,49,62,02,07");  // auxOutput of preset 2 = 7
    PresetParameters p2;
    ASSERT_EQ(readPresetFile(dir.file("Preset-2.dat"), p2), 200);
    EXPECT_EQ(p2.auxOutput, 7);

    roundTrip(service, "2d,07,4d,49,d0,02,01,00,3c");  // modChkDigitalOnTime of preset 2 = 60
    ASSERT_EQ(readPresetFile(dir.file("Preset-2.dat"), p2), 200);
    EXPECT_EQ(p2.modChkDigitalOnTime, 60);

    roundTrip(service, "3c,01,05");
    roundTrip(service, "2d,04,4d,49,14,00");  // language English
    DeviceParameters d;
    ASSERT_EQ(readDeviceFile(dir.file("device.dat"), d), 296);
    EXPECT_EQ(d.dte1Baud, 5);
    EXPECT_EQ(d.language, 0);

    const std::string before = readFileBytes(dir.file("Preset-1.dat"));
    roundTrip(service, "2d,04,4d,49,70,01");  // a query changes nothing
    EXPECT_EQ(readFileBytes(dir.file("Preset-1.dat")), before);
}

}  // namespace
}  // namespace q93::test
