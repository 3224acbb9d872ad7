// The real q93sim on a pseudo-terminal, opened like the encoder's serial port.
#include <gtest/gtest.h>

#include <chrono>

#include "sim/encoder_model.h"
#include "tests/sim/sim_wire.h"
#include "tests/support/sim_process.h"

namespace q93::test {
namespace {

const int kPreset3Source = sim::EncoderModel::factoryPreset(3).inputSource;

TEST(SimPty, AnswersPreset3InputSourceWithAcknowledgement) {
    SimProcess sim({"--pty"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    EXPECT_EQ(sim.firstLine().rfind("pty /dev/pts/", 0), 0u) << sim.firstLine();
    SimWire line = SimWire::openPty(sim.ptyPath());
    ASSERT_TRUE(line.ok());
    line.sendCommand("2d,04,4d,49,70,03");
    const auto ack = line.receiveFrame();
    ASSERT_TRUE(ack);
    EXPECT_TRUE(isAck(*ack));
    const auto answer = line.receiveFrame();
    ASSERT_TRUE(answer);
    EXPECT_EQ(unstuffed(*answer).at(5), 0x2D);
    EXPECT_EQ(unstuffed(*answer).at(11), kPreset3Source);
    EXPECT_EQ(sim.stop(), 0);
}

TEST(SimPty, AnswersWithoutAcknowledgementWhenAsked) {
    SimProcess sim({"--pty", "--serial-ack", "0"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    SimWire line = SimWire::openPty(sim.ptyPath());
    ASSERT_TRUE(line.ok());
    line.sendCommand("2d,04,4d,49,70,03");
    const auto answer = line.receiveFrame();
    ASSERT_TRUE(answer);
    EXPECT_FALSE(isAck(*answer));
    EXPECT_EQ(unstuffed(*answer).at(11), kPreset3Source);
    EXPECT_FALSE(line.receiveFrame(300)) << "nothing after the answer";
    line.sendCommand("2d,05,4d,49,60,03,02");  // a set command: nothing at all
    EXPECT_FALSE(line.receiveFrame(300));
    line.sendCommand("2d,04,4d,49,70,03");
    const auto after = line.receiveFrame();
    ASSERT_TRUE(after);
    EXPECT_EQ(unstuffed(*after).at(11), 2);
}

TEST(SimPty, TheLineStaysUpAcrossOpenAndClose) {
    SimProcess sim({"--pty"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    for (int i = 0; i < 3; ++i) {
        SimWire line = SimWire::openPty(sim.ptyPath());
        ASSERT_TRUE(line.ok());
        line.sendCommand("17,02,3c,04");
        ASSERT_TRUE(line.receiveFrame());
        const auto answer = line.receiveFrame();
        ASSERT_TRUE(answer) << "operation " << i;
        EXPECT_EQ(unstuffed(*answer).at(7), sim::EncoderModel::factoryDevice().frontBaud);
    }
}

TEST(SimPty, PacesOutputAtTheBaudRate) {
    SimProcess sim({"--pty", "--baud", "1200"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    SimWire line = SimWire::openPty(sim.ptyPath());
    const auto start = std::chrono::steady_clock::now();
    line.sendCommand("2d,03,4d,49,21");  // ack (10 bytes) and a 37-byte answer, some stuffed
    ASSERT_TRUE(line.receiveFrame(3000));
    const auto answer = line.receiveFrame(3000);
    ASSERT_TRUE(answer);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double expected = (10.0 + static_cast<double>(answer->size())) * 10.0 / 1200.0 * 1000.0;
    EXPECT_GE(ms, expected * 0.9) << "at 1200 baud a byte takes 8.3 ms";
    EXPECT_LT(ms, expected * 3 + 500);
}

TEST(SimPty, TcpAndPtyTogetherShareOneEncoder) {
    SimProcess sim({"--tcp", "127.0.0.1:0", "--pty"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    ASSERT_GT(sim.port(), 0);
    ASSERT_FALSE(sim.ptyPath().empty());
    SimWire wire = SimWire::connectTcp(sim.host(), sim.port());
    SimWire line = SimWire::openPty(sim.ptyPath());
    line.sendCommand("2d,05,4d,49,60,03,00");  // set over the serial line
    ASSERT_TRUE(line.receiveFrame());
    wire.sendCommand("2d,04,4d,49,70,03");  // read over the network
    ASSERT_TRUE(wire.receiveFrame());
    const auto answer = wire.receiveFrame();
    ASSERT_TRUE(answer);
    EXPECT_EQ(unstuffed(*answer).at(11), 0);
    EXPECT_EQ(sim.stop(), 0);
}

}  // namespace
}  // namespace q93::test
