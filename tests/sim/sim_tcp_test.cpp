// The real q93sim over TCP, as the tool and the demo use it.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstring>

#include "protocol/parameter_files.h"
#include "sim/encoder_model.h"
#include "tests/sim/sim_wire.h"
#include "tests/support/process_runner.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"

namespace q93::test {
namespace {

const int kPreset3Source = sim::EncoderModel::factoryPreset(3).inputSource;

// One command on a line: the acknowledgement, then the data answer (un-stuffed).
Bytes query(SimWire& wire, const std::string& command) {
    wire.sendCommand(command);
    const auto ack = wire.receiveFrame();
    if (!ack || !isAck(*ack)) return {};
    const auto answer = wire.receiveFrame();
    return answer ? unstuffed(*answer) : Bytes{};
}

TEST(SimTcp, PrintsItsPortAndAnswersPreset3InputSource) {
    SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    EXPECT_EQ(sim.firstLine(), "tcp 127.0.0.1:" + std::to_string(sim.port()));
    EXPECT_EQ(sim.host(), "127.0.0.1");
    SimWire wire = SimWire::connectTcp(sim.host(), sim.port());
    ASSERT_TRUE(wire.ok());
    wire.sendCommand("2d,04,4d,49,70,03");
    const auto ack = wire.receiveFrame();
    ASSERT_TRUE(ack);
    EXPECT_TRUE(isAck(*ack)) << "payload 18 00 with a good checksum";
    const auto answer = wire.receiveFrame();
    ASSERT_TRUE(answer);
    const Bytes a = unstuffed(*answer);
    ASSERT_GE(a.size(), 15u);
    EXPECT_EQ(a[5], 0x2D);
    EXPECT_EQ(a[11], kPreset3Source);
    EXPECT_EQ(sim.stop(), 0);
}

TEST(SimTcp, ServesConnectionsOneAfterAnother) {
    SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    for (int i = 0; i < 5; ++i) {
        SimWire wire = SimWire::connectTcp(sim.host(), sim.port());
        ASSERT_TRUE(wire.ok());
        const Bytes a = query(wire, "2d,04,4d,49,70,03");
        ASSERT_FALSE(a.empty()) << "connection " << i;
        EXPECT_EQ(a[11], kPreset3Source);
    }
}

TEST(SimTcp, ServesASecondConcurrentClient) {
    SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    SimWire first = SimWire::connectTcp(sim.host(), sim.port());
    SimWire second = SimWire::connectTcp(sim.host(), sim.port());
    ASSERT_TRUE(first.ok() && second.ok());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(query(second, "2d,04,4d,49,70,02").at(11), sim::EncoderModel::factoryPreset(2).inputSource);
        EXPECT_EQ(query(first, "2d,04,4d,49,70,03").at(11), kPreset3Source);
    }
    // What one client sets, the other reads.
    first.sendCommand("2d,05,4d,49,60,03,00");
    ASSERT_TRUE(first.receiveFrame());
    EXPECT_EQ(query(second, "2d,04,4d,49,70,03").at(11), 0);
    first.close();
    second.close();
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_EQ(sim.stderrText().find("Sanitizer"), std::string::npos) << sim.stderrText();
}

TEST(SimTcp, AnswersTheWholeReadDeviceSequence) {
    SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    SimWire wire = SimWire::connectTcp(sim.host(), sim.port());
    const DeviceParameters d = sim::EncoderModel::factoryDevice();
    EXPECT_FLOAT_EQ(floatAt(query(wire, "2d,03,4d,49,11"), 10), static_cast<float>(d.sensitivity40k));
    EXPECT_EQ(query(wire, "2d,03,4d,49,13").at(10), d.levelUnit);
    EXPECT_EQ(query(wire, "2d,03,4d,49,15").at(10), d.language);
    EXPECT_EQ(query(wire, "2d,03,4d,49,04").at(10), d.activePreset);
    EXPECT_EQ(query(wire, "17,02,3b,04").at(7), d.frontResponse);
    EXPECT_EQ(query(wire, "17,02,3c,04").at(7), d.frontBaud);
    EXPECT_EQ(query(wire, "17,02,3c,03").at(7), d.dte3Baud);
    EXPECT_EQ(query(wire, "2d,07,4d,49,02,00,00,7f,24").at(17), 1) << "preset 1 plays the analog input";
    EXPECT_EQ(query(wire, "2d,07,4d,49,02,00,00,7f,44").at(17), 1);
}

TEST(SimTcp, ClockAndLevelsOverTheWire) {
    SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    SimWire wire = SimWire::connectTcp(sim.host(), sim.port());
    wire.sendCommand("0d,08,03,0f,0e,05,09,0,02");
    const auto ack = wire.receiveFrame();
    ASSERT_TRUE(ack && isAck(*ack));
    EXPECT_FALSE(wire.receiveFrame(200)) << "a clock write has no data answer";
    const Bytes clock = query(wire, "17,01,0d");
    ASSERT_EQ(clock.size(), 17u);
    EXPECT_EQ((Bytes(clock.begin() + 5, clock.begin() + 11)), (Bytes{0x0D, 8, 3, 15, 14, 5}));
    EXPECT_EQ(clock[13], 0x02);
    EXPECT_EQ(query(wire, "2d,03,4d,49,20").size(), 21u);
    EXPECT_EQ(query(wire, "2d,03,4d,49,21").size(), 37u);
}

TEST(SimTcp, StoreFilesFollowSetCommandsAndSurviveARestart) {
    TempDir dir;
    {
        SimProcess sim({"--tcp", "127.0.0.1:0", "--store", dir.path().string()});
        ASSERT_TRUE(sim.ready()) << sim.error();
        SimWire wire = SimWire::connectTcp(sim.host(), sim.port());
        wire.sendCommand("2d,05,4d,49,60,03,00");  // inputSource of preset 3 = off
        ASSERT_TRUE(wire.receiveFrame());
        wire.sendCommand("2d,07,4d,49,10,00,00,20,c1");  // sensitivity40k -10.0
        ASSERT_TRUE(wire.receiveFrame());
        PresetParameters p;
        ASSERT_EQ(readPresetFile(dir.file("Preset-3.dat"), p), 200);
        EXPECT_EQ(p.inputSource, 0);
        DeviceParameters d;
        ASSERT_EQ(readDeviceFile(dir.file("device.dat"), d), 296);
        EXPECT_DOUBLE_EQ(d.sensitivity40k, -10.0);
        EXPECT_EQ(sim.stop(), 0);
    }
    SimProcess again({"--tcp", "127.0.0.1:0", "--store", dir.path().string()});
    ASSERT_TRUE(again.ready()) << again.error();
    SimWire wire = SimWire::connectTcp(again.host(), again.port());
    EXPECT_EQ(query(wire, "2d,04,4d,49,70,03").at(11), 0);
}

TEST(SimTcp, UnknownCommandIsAcknowledgedAndNamedOnStderr) {
    SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    SimWire wire = SimWire::connectTcp(sim.host(), sim.port());
    wire.sendCommand("55,66,77");
    const auto ack = wire.receiveFrame();
    ASSERT_TRUE(ack);
    EXPECT_TRUE(isAck(*ack));
    EXPECT_FALSE(wire.receiveFrame(300));
    EXPECT_NE(sim.stderrText().find("unknown command 55 66 77"), std::string::npos) << sim.stderrText();
}

TEST(SimTcp, ExitsZeroOnSigintAndSigterm) {
    for (int sig : {SIGINT, SIGTERM}) {
        SimProcess sim({"--tcp", "127.0.0.1:0"});
        ASSERT_TRUE(sim.ready()) << sim.error();
        SimWire idle = SimWire::connectTcp(sim.host(), sim.port());  // a connection still open
        kill(sim.pid(), sig);
        EXPECT_TRUE(idle.peerClosed(3000));
        EXPECT_EQ(sim.stop(), 0) << "signal " << sig;
    }
}

TEST(SimCommandLine, HelpAndMistakes) {
    const ProcessResult help = runProgram({binPath("q93sim"), "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Factory values"), std::string::npos);
    EXPECT_NE(help.out.find("oversize:N"), std::string::npos);
    const ProcessResult bad = runProgram({binPath("q93sim"), "--fault", "explode:1"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("unknown fault"), std::string::npos);
    const ProcessResult busy = runProgram({binPath("q93sim"), "--tcp", "256.1.1.1:0"});
    EXPECT_EQ(busy.exitCode, 1);
}

}  // namespace
}  // namespace q93::test
