// A write read back: q93ctl names what an encoder acknowledged yet does not hold.
#include <gtest/gtest.h>

#include <cmath>

#include "protocol/parameter_files.h"
#include "store/location_store.h"
#include "tests/e2e/ctl_run.h"
#include "tests/protocol/transfer_fixture.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Site/Tower reaches a simulated encoder that acknowledges every set of the pilot level and
// keeps the 6.75 kHz it holds; its stored files are in range and hold 7.5 kHz of pilot.
class ReadBack : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("LC_ALL", "C", 1);
        ASSERT_TRUE(sim.ready()) << sim.error();
        const auto reach = sim.connectionOptions();
        ASSERT_EQ(ctl({"add", "Site/Tower", reach[2], reach[3], reach[4], reach[5]}).exitCode, 0);
        const std::string folder = work.path().string() + "/LocationData/Site/Tower/";
        const DeviceParameters device = test::inRangeDevice(3);
        ASSERT_TRUE(writeDeviceFile(folder + "device.dat", device));
        for (int n = 1; n <= kPresetsPerEncoder; ++n) {
            PresetParameters preset = test::inRangePreset(n, device.sensitivity40k);
            preset.pilotLevel = 40 * std::pow(10.0, (-10 - device.sensitivity40k) / 20);
            ASSERT_TRUE(writePresetFile(folder + "Preset-" + std::to_string(n) + ".dat", preset));
        }
    }

    test::ProcessResult ctl(const std::vector<std::string>& args) {
        return test::runCtl(args, work.path().string());
    }

    test::SimEncoder sim{test::Transport{"Tcp", true, true}, {"--ignore-set", "pilotLevel"}};
    test::TempDir work;
};

TEST_F(ReadBack, AFieldTheEncoderDidNotTakeFailsTheWriteThatAskedAndEveryRestore) {
    struct Row {
        std::vector<std::string> args;
        int exitCode;
        const char* stream;  // where the fields not held are named; null: nowhere
    };
    const std::vector<std::string> preset2 = {"--encoder", "Site/Tower", "write-preset", "2"};
    std::vector<std::string> verified = preset2;
    verified.push_back("--verify");
    const Row rows[] = {
        {preset2, 0, nullptr},  // the designed exchange: every set acknowledged
        {verified, 1, "err"},
        {{"--encoder", "Site/Tower", "write-device", "--verify"}, 0, nullptr},
        {{"restore", "Site/Tower", "--device"}, 0, nullptr},
        {{"restore", "Site/Tower", "--presets", "3"}, 1, "out"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args[row.args.size() > 2 ? 2 : 0] + " " + row.args.back());
        const auto result = ctl(row.args);
        EXPECT_EQ(result.exitCode, row.exitCode) << result.err << result.out;
        const std::string named = "the encoder does not hold what was sent: pilotLevel sent ";
        const std::string& shown = row.stream == nullptr ? result.err + result.out
                                   : *row.stream == 'e'  ? result.err
                                                         : result.out;
        EXPECT_EQ(contains(shown, named), row.stream != nullptr) << shown;
        if (row.stream != nullptr)
            EXPECT_TRUE(contains(shown, " holds 6.75")) << shown;
    }
    EXPECT_EQ(sim.preset(3).pilotLevel, 6.75);
}

}  // namespace
}  // namespace q93
