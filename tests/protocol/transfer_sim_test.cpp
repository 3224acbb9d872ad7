#include <gtest/gtest.h>

#include <cmath>

#include "base/string_table.h"
#include "protocol/clock_transfer.h"
#include "protocol/device_transfer.h"
#include "protocol/level_query.h"
#include "protocol/preset_transfer.h"
#include "tests/protocol/transfer_fixture.h"

namespace q93 {
namespace {

using test::Transport;

// Every transferred field of two blocks agrees, reals as the wire's floats carry them.
template <typename Block, typename Steps>
void expectSameFields(const Block& got, const Block& want, Steps steps) {
    int row = 0;
    for (const auto& step : steps) {
        ++row;
        if (step.real != nullptr) {
            EXPECT_EQ(got.*step.real, static_cast<double>(static_cast<float>(want.*step.real)))
                << "step " << row;
        } else {
            EXPECT_EQ(got.*step.integer, want.*step.integer) << "step " << row;
        }
    }
}

class TransferWithSim : public ::testing::TestWithParam<Transport> {
protected:
    void SetUp() override {
        setLanguage(Language::English);
        parameterSet().reset();
        ASSERT_TRUE(sim.ready()) << sim.error();
        sim.configure(connection);
    }
    void TearDown() override { parameterSet().reset(); }

    test::SimEncoder sim{GetParam()};
    test::RecordingSeam seam;
    DeviceConnection connection;
};

TEST_P(TransferWithSim, ReadPresetTakesAll28Parameters) {
    parameterSet().preset.presetNumber = 7;
    ASSERT_EQ(ReadPreset(connection), 0);
    expectSameFields(parameterSet().preset, sim.preset(7), presetReadSteps());
    EXPECT_TRUE(seam.warnings.empty());
    EXPECT_EQ(seam.events,
              (std::vector<std::string>{"create", "show:Reading Preset...", "hide", "destroy"}));
}

TEST_P(TransferWithSim, WritePresetSendsAll28AndReadsThemBack) {
    parameterSet().preset = test::distinctPreset(0);
    parameterSet().preset.presetNumber = 4;
    ASSERT_EQ(WritePreset(connection), 0);
    expectSameFields(sim.preset(4), parameterSet().preset, presetWriteSteps());

    const PresetParameters written = parameterSet().preset;
    parameterSet().reset();
    parameterSet().preset.presetNumber = 4;
    ASSERT_EQ(ReadPreset(connection), 0);
    expectSameFields(parameterSet().preset, written, presetReadSteps());
    EXPECT_TRUE(seam.warnings.empty());
}

TEST_P(TransferWithSim, DeviceSettingsAndStatusRoundTrip) {
    parameterSet().device = test::distinctDevice(3);
    parameterSet().device.activePreset = 1;  // the status follows preset 2's input source
    ASSERT_EQ(WriteDevice(connection), 0);
    expectSameFields(sim.device(), parameterSet().device, deviceWriteSteps());

    const DeviceParameters written = parameterSet().device;
    parameterSet().reset();
    ASSERT_EQ(ReadDevice(connection), 0);
    expectSameFields(parameterSet().device, written, deviceReadSteps());
    // Preset 2 of the factory set plays the digital input, with a frame and both channels.
    const DeviceStatus& status = parameterSet().status;
    EXPECT_EQ(status.currentInput, 2);
    EXPECT_EQ(status.digitalChannels, 3);
    EXPECT_NE(status.aesFrameStatus, 0);
    EXPECT_EQ(status.analogChannels, 3);
    EXPECT_TRUE(seam.warnings.empty());
}

TEST_P(TransferWithSim, ClockWrittenIsReadBack) {
    const int plusOneHour = OffsetCodeFromEntry(26);
    ASSERT_EQ(WriteRtc(connection, 8, 3, 15, 14, 5, 9, plusOneHour), 0);
    ClockValues read;
    ASSERT_EQ(ReadRtc(connection, read), 0);
    EXPECT_EQ(std::vector<int>({read.year, read.month, read.day, read.hour, read.minute}),
              std::vector<int>({8, 3, 15, 14, 5}));
    EXPECT_GE(read.second, 9);
    EXPECT_LE(read.second, 12);
    EXPECT_EQ(read.offsetCode, 0x02);
    EXPECT_EQ(OffsetEntryFromCode(read.offsetCode), 26);
    EXPECT_TRUE(seam.warnings.empty());
}

TEST_P(TransferWithSim, LevelQueriesFillBothSets) {
    LevelReadings& levels = parameterSet().levels;
    ASSERT_EQ(connection.open(), 0);
    ASSERT_EQ(QueryLevels(connection, 0), 0);
    ASSERT_EQ(QueryLevels(connection, 1), 0);
    connection.close();
    // Programme material of 45 and 42 kHz +- 20; the pilot at the active preset's 6.75 kHz.
    EXPECT_NEAR(levels.levelSet0[0].load(), 45.0, 20.0);
    EXPECT_NEAR(levels.levelSet0[1].load(), 42.0, 20.0);
    EXPECT_NEAR(levels.levelSet1[2].load(), 6.75, 0.051);
    EXPECT_NEAR(levels.levelSet1[0].load(), 68.0, 6.0);
    EXPECT_TRUE(seam.warnings.empty());
}

INSTANTIATE_TEST_SUITE_P(Links, TransferWithSim,
                         ::testing::Values(Transport{"Tcp", true, true},
                                           Transport{"SerialWithAck", false, true},
                                           Transport{"SerialWithoutAck", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace q93
