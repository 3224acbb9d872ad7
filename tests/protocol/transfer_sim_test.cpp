#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "base/frame_log.h"
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
        ASSERT_TRUE(sim.ready()) << sim.error();
        sim.configure(connection);
    }

    test::SimEncoder sim{GetParam()};
    test::RecordingSeam seam;
    DeviceConnection connection;
    ParameterSet params;
};

TEST_P(TransferWithSim, ReadPresetTakesAll28Parameters) {
    params.preset.presetNumber = 7;
    ASSERT_EQ(ReadPreset(connection, params.preset), 0);
    expectSameFields(params.preset, sim.preset(7), presetReadSteps());
    EXPECT_TRUE(seam.warnings.empty());
    EXPECT_EQ(seam.events,
              (std::vector<std::string>{"create", "show:Reading Preset...", "hide", "destroy"}));
}

TEST_P(TransferWithSim, WritePresetSendsAll28AndReadsThemBack) {
    params.preset = test::distinctPreset(0);
    params.preset.presetNumber = 4;
    ASSERT_EQ(WritePreset(connection, params.preset), 0);
    const PresetParameters sent = params.preset;
    expectSameFields(sim.presetOnce(4,
                                    [&sent](const PresetParameters& held) {
                                        return test::sameFields(held, sent, presetWriteSteps());
                                    }),
                     params.preset, presetWriteSteps());

    const PresetParameters written = params.preset;
    params.reset();
    params.preset.presetNumber = 4;
    ASSERT_EQ(ReadPreset(connection, params.preset), 0);
    expectSameFields(params.preset, written, presetReadSteps());
    EXPECT_TRUE(seam.warnings.empty());
}

TEST_P(TransferWithSim, DeviceSettingsAndStatusRoundTrip) {
    params.device = test::distinctDevice(3);
    params.device.activePreset = 1;  // the status follows preset 2's input source
    ASSERT_EQ(WriteDevice(connection, params.device), 0);
    const DeviceParameters sent = params.device;
    expectSameFields(sim.deviceOnce([&sent](const DeviceParameters& held) {
        return test::sameFields(held, sent, deviceWriteSteps());
    }),
                     params.device, deviceWriteSteps());

    const DeviceParameters written = params.device;
    params.reset();
    ASSERT_EQ(ReadDevice(connection, params.device, params.status), 0);
    expectSameFields(params.device, written, deviceReadSteps());
    // Preset 2 of the factory set plays the digital input, with a frame and both channels.
    const DeviceStatus& status = params.status;
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
    LevelReadings& levels = params.levels;
    ASSERT_EQ(connection.open(), 0);
    ASSERT_EQ(QueryLevels(connection, 0, levels), 0);
    ASSERT_EQ(QueryLevels(connection, 1, levels), 0);
    connection.close();
    // Programme material of 45 and 42 kHz +- 20; the pilot at the active preset's 6.75 kHz.
    EXPECT_NEAR(levels.levelSet0[0].load(), 45.0, 20.0);
    EXPECT_NEAR(levels.levelSet0[1].load(), 42.0, 20.0);
    EXPECT_NEAR(levels.levelSet1[2].load(), 6.75, 0.051);
    EXPECT_NEAR(levels.levelSet1[0].load(), 68.0, 6.0);
    EXPECT_TRUE(seam.warnings.empty());
}

// What one thread's transfers show and send, kept apart from any other thread's.
class ThreadRecorder : public UserSeam, public FrameLogger {
public:
    ThreadRecorder() {
        installThreadUserSeam(this);
        installThreadFrameLogger(this);
    }
    ~ThreadRecorder() override {
        installThreadFrameLogger(nullptr);
        installThreadUserSeam(nullptr);
    }
    void showWarning(const std::string& text) override { events.push_back("warn:" + text); }
    void progressCreate() override { events.push_back("create"); }
    void progressShow(const std::string& text) override { events.push_back("show:" + text); }
    void progressHide() override { events.push_back("hide"); }
    void progressDestroy() override { events.push_back("destroy"); }
    void logFrame(const std::uint8_t*, int, int direction) override {
        framesSent += direction == kFrameSent ? 1 : 0;
    }

    std::vector<std::string> events;
    int framesSent = 0;
};

// Two encoders served at once from two threads of one process, each transfer on a set of
// its own: every block reaches its own encoder and comes back whole, and each thread's
// progress and frames reach its own recorder only.
TEST(TransfersInThreads, EachKeepsItsOwnSetProgressAndFrames) {
    setLanguage(Language::English);
    test::RecordingSeam processSeam;
    const Transport tcp{"Tcp", true, true};
    struct Job {
        int preset;
        int seed;
        std::unique_ptr<test::SimEncoder> sim;
        PresetParameters readBack;
        std::vector<std::string> events;
        int framesSent = 0;
        int results = 0;
    };
    Job jobs[] = {{2, 11, std::make_unique<test::SimEncoder>(tcp), {}, {}, 0, 0},
                  {6, 23, std::make_unique<test::SimEncoder>(tcp), {}, {}, 0, 0}};
    std::vector<std::thread> threads;
    for (Job& job : jobs) {
        ASSERT_TRUE(job.sim->ready()) << job.sim->error();
        threads.emplace_back([&job] {
            ThreadRecorder recorder;
            DeviceConnection connection;
            job.sim->configure(connection);
            for (int round = 0; round < 5; ++round) {
                ParameterSet written;
                written.preset = test::distinctPreset(job.seed + round);
                written.preset.presetNumber = job.preset;
                job.results += WritePreset(connection, written.preset) != 0;
                ParameterSet read;
                read.preset.presetNumber = job.preset;
                job.results += ReadPreset(connection, read.preset) != 0;
                job.readBack = read.preset;
            }
            job.events = recorder.events;
            job.framesSent = recorder.framesSent;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (const Job& job : jobs) {
        SCOPED_TRACE(job.preset);
        EXPECT_EQ(job.results, 0);
        const PresetParameters last = test::distinctPreset(job.seed + 4);
        expectSameFields(job.sim->preset(job.preset), last, presetWriteSteps());
        expectSameFields(job.readBack, last, presetReadSteps());
        ASSERT_EQ(job.events.size(), 40u);
        EXPECT_EQ(
            std::vector<std::string>(job.events.begin(), job.events.begin() + 8),
            (std::vector<std::string>{"create", "show:Writing Preset...", "hide", "destroy",
                                      "create", "show:Reading Preset...", "hide", "destroy"}));
        EXPECT_EQ(job.framesSent, 5 * (28 + 28));
    }
    EXPECT_TRUE(processSeam.warnings.empty());
    EXPECT_TRUE(processSeam.events.empty());
}

INSTANTIATE_TEST_SUITE_P(Links, TransferWithSim,
                         ::testing::Values(Transport{"Tcp", true, true},
                                           Transport{"SerialWithAck", false, true},
                                           Transport{"SerialWithoutAck", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace q93
