// q93ctl set against a fleet of three simulated encoders: a plan sends nothing, --apply
// changes the named field and stores it, an encoder that does not hold it is rolled back.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "protocol/parameter_files.h"
#include "store/location_store.h"
#include "tests/e2e/ctl_run.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

namespace fs = std::filesystem;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Hill/E1..E3 on one q93sim fleet (every request on its stderr), each backed up once, so
// that the stored files hold the factory's 6.75 kHz of pilot.
class SetCommand : public ::testing::Test {
protected:
    void start(const std::vector<std::string>& quirks) {
        std::vector<std::string> args{"--encoders", "3", "--verbose"};
        args.insert(args.end(), quirks.begin(), quirks.end());
        sim = std::make_unique<test::SimProcess>(args);
        ASSERT_TRUE(sim->ready()) << sim->error();
        for (int k = 1; k <= 3; ++k) {
            const auto added = ctl({"add", name(k), "--port", "TCP/IP", "--ip", "127.0.0.1",
                                    "--tcp-port", std::to_string(sim->port() + k - 1)});
            ASSERT_EQ(added.exitCode, 0) << added.err;
        }
        ASSERT_EQ(ctl({"backup"}).exitCode, 0);
    }
    test::ProcessResult ctl(const std::vector<std::string>& args) {
        return test::runCtl(args, work.path().string());
    }
    static std::string name(int k) { return "Hill/E" + std::to_string(k); }
    double storedPilot(int k) const {
        PresetParameters preset;
        const fs::path file = work.path() / "LocationData" / name(k) / "Preset-2.dat";
        EXPECT_EQ(readPresetFile(file.string(), preset), 200);
        return preset.pilotLevel;
    }
    test::TempDir work;
    std::unique_ptr<test::SimProcess> sim;
};

TEST_F(SetCommand, APlanSendsNothingAndApplyChangesStoresOrRollsBack) {
    start({"--ignore-set", "3:pilotLevel"});
    const std::size_t logBefore = sim->stderrText().size();

    const auto plan = ctl({"set", "--presets", "2", "pilotLevel=6.0"});
    EXPECT_EQ(plan.exitCode, 0) << plan.err;
    EXPECT_EQ(plan.out,
              "Hill/E1 Preset-2.dat pilotLevel 6.75 -> 6 kHz\nHill/E1 planned\n"
              "Hill/E2 Preset-2.dat pilotLevel 6.75 -> 6 kHz\nHill/E2 planned\n"
              "Hill/E3 Preset-2.dat pilotLevel 6.75 -> 6 kHz\nHill/E3 planned\n");
    EXPECT_FALSE(contains(sim->stderrText().substr(logBefore), ": set ")) << sim->stderrText();
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(storedPilot(k), 6.75);

    const auto applied = ctl({"set", "--presets", "2", "pilotLevel=6.0", "--apply", "--json"});
    EXPECT_EQ(applied.exitCode, 1) << applied.err;
    const auto json = nlohmann::json::parse(applied.out);
    EXPECT_EQ(json["encoders"][0]["status"], "changed");
    EXPECT_EQ(json["encoders"][1]["status"], "changed");
    EXPECT_EQ(json["encoders"][2]["status"], "rolled back");
    EXPECT_TRUE(contains(json["encoders"][2]["error"], "pilotLevel sent 6 holds 6.75"));
    EXPECT_EQ(storedPilot(1), 6.0);
    EXPECT_EQ(storedPilot(2), 6.0);
    EXPECT_EQ(storedPilot(3), 6.75);

    // Done again, the two that hold it are unchanged.
    const auto again = ctl({"set", "Hill/E1", "Hill/E2", "--presets", "2", "pilotLevel=6.0"});
    EXPECT_EQ(again.out, "Hill/E1 unchanged\nHill/E2 unchanged\n");
}

TEST_F(SetCommand, ACanaryThatDoesNotHoldLeavesTheRestAloneAndBadWordsSendNothing) {
    start({"--ignore-set", "1:pilotLevel"});
    const auto canary =
        ctl({"set", "--presets", "2", "pilotLevel=6.0", "--apply", "--canary", "1"});
    EXPECT_EQ(canary.exitCode, 1);
    EXPECT_TRUE(contains(canary.out, "Hill/E1 rolled back")) << canary.out;
    EXPECT_TRUE(contains(canary.out, "Hill/E2 not attempted")) << canary.out;
    EXPECT_TRUE(contains(canary.out, "Hill/E3 not attempted")) << canary.out;
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(storedPilot(k), 6.75);

    const std::size_t logBefore = sim->stderrText().size();
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    } refused[] = {
        {{"set", "--presets", "2", "pilotLevel=500", "--apply"}, 1, "pilotLevel=500"},
        {{"set", "--device", "pilotLevel=6", "--apply"}, 2, "not a field of the device"},
        {{"set", "--presets", "2", "bogus=1"}, 2, "'bogus' is no field"},
        {{"set", "--presets", "2", "preemphasis=1.5"}, 2, "takes a whole number"},
        {{"set", "pilotLevel=6"}, 2, "either --device or --presets"},
    };
    for (const auto& row : refused) {
        const auto result = ctl(row.args);
        EXPECT_EQ(result.exitCode, row.exitCode) << row.message;
        EXPECT_TRUE(contains(result.err, row.message)) << result.err;
    }
    EXPECT_FALSE(contains(sim->stderrText().substr(logBefore), "connect")) << sim->stderrText();
}

}  // namespace
}  // namespace q93
