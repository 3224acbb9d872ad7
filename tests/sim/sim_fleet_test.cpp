// q93sim standing for a fleet: N encoders on N consecutive ports, each its own encoder.
#include <gtest/gtest.h>

#include "protocol/parameter_files.h"
#include "sim/encoder_model.h"
#include "tests/sim/sim_wire.h"
#include "tests/support/process_runner.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"

namespace q93::test {
namespace {

TEST(SimFleet, PrintsOneLinePerEncoderOnConsecutivePorts) {
    // Runs until it is stopped: the second of waiting ends it, with every line printed.
    const ProcessResult run = runProgram({binPath("q93sim"), "--encoders", "3"}, 1);
    ASSERT_EQ(run.out.substr(0, 14), "tcp 127.0.0.1:") << run.out << run.err;
    const int first = std::stoi(run.out.substr(14));
    EXPECT_EQ(run.out, "tcp 127.0.0.1:" + std::to_string(first) +
                           "\ntcp 127.0.0.1:" + std::to_string(first + 1) +
                           "\ntcp 127.0.0.1:" + std::to_string(first + 2) + "\n");
}

TEST(SimFleet, EachEncoderHasItsOwnMemoryStoreAndFaults) {
    TempDir root;
    SimProcess sim({"--encoders", "2", "--store-root", root.path().string(), "--fault", "close:1"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    for (int k = 1; k <= 2; ++k) {
        // close:1 counts each encoder's own requests: the first to each one is dropped.
        SimWire dropped = SimWire::connectTcp(sim.host(), sim.port() + k - 1);
        dropped.sendCommand("2d,04,4d,49,70,02");
        EXPECT_TRUE(dropped.peerClosed(2000)) << "encoder " << k;
    }
    SimWire second = SimWire::connectTcp(sim.host(), sim.port() + 1);
    second.sendCommand("2d,05,4d,49,60,02,00");  // preset 2 input source: off
    ASSERT_TRUE(second.receiveFrame());
    sim.stop();

    PresetParameters first, changed;
    ASSERT_EQ(readPresetFile((root.path() / "encoder1" / "Preset-2.dat").string(), first), 200);
    ASSERT_EQ(readPresetFile((root.path() / "encoder2" / "Preset-2.dat").string(), changed), 200);
    EXPECT_EQ(first.inputSource, sim::EncoderModel::factoryPreset(2).inputSource);
    EXPECT_EQ(changed.inputSource, 0);
}

TEST(SimFleet, RefusesWhatAFleetCannotBe) {
    TempDir root;
    const std::vector<std::vector<std::string>> cases = {
        {"--encoders", "0"},
        {"--encoders", "501"},
        {"--encoders", "2", "--pty"},
        {"--encoders", "2", "--store", root.path().string()},
        {"--store-root", root.path().string(), "--store", root.path().string()},
    };
    for (const auto& args : cases) {
        std::vector<std::string> argv{binPath("q93sim")};
        argv.insert(argv.end(), args.begin(), args.end());
        EXPECT_EQ(runProgram(argv, 5).exitCode, 2) << args[1];
    }
}

}  // namespace
}  // namespace q93::test
