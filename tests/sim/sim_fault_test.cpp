// Every --fault FAULT of q93sim, shown reproducibly against the real program. N counts the
// requests from 1 over the whole run.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "protocol/frame_codec.h"
#include "sim/encoder_model.h"
#include "tests/sim/sim_wire.h"
#include "tests/support/sim_process.h"

namespace q93::test {
namespace {

using Clock = std::chrono::steady_clock;

const int kPreset3Source = sim::EncoderModel::factoryPreset(3).inputSource;
const char* const kQuery = "2d,04,4d,49,70,03";

struct TcpSim {
    explicit TcpSim(const std::string& fault) : sim({"--tcp", "127.0.0.1:0", "--fault", fault}) {}
    SimWire connect() { return SimWire::connectTcp(sim.host(), sim.port()); }
    SimProcess sim;
};

void expectNormalAnswer(SimWire& wire) {
    wire.sendCommand(kQuery);
    const auto ack = wire.receiveFrame();
    ASSERT_TRUE(ack);
    EXPECT_TRUE(isAck(*ack));
    const auto answer = wire.receiveFrame();
    ASSERT_TRUE(answer);
    EXPECT_EQ(unstuffed(*answer).at(11), kPreset3Source);
}

TEST(SimFault, DropAnswerSendsTheAckButNoAnswer) {
    TcpSim s("drop-answer:2");
    ASSERT_TRUE(s.sim.ready()) << s.sim.error();
    SimWire wire = s.connect();
    expectNormalAnswer(wire);
    wire.sendCommand(kQuery);
    const auto ack = wire.receiveFrame();
    ASSERT_TRUE(ack);
    EXPECT_TRUE(isAck(*ack));
    EXPECT_FALSE(wire.receiveFrame(1200)) << "request 2 has no data answer";
    expectNormalAnswer(wire);
}

TEST(SimFault, DropAnswerOfASetCommandDropsItsAck) {
    TcpSim s("drop-answer:1");
    ASSERT_TRUE(s.sim.ready()) << s.sim.error();
    SimWire wire = s.connect();
    wire.sendCommand("2d,05,4d,49,62,03,02");  // auxOutput of preset 3
    EXPECT_FALSE(wire.receiveFrame(1200));
    expectNormalAnswer(wire);
}

TEST(SimFault, DropAckSendsOnlyTheAnswer) {
    TcpSim s("drop-ack:1");
    ASSERT_TRUE(s.sim.ready()) << s.sim.error();
    SimWire wire = s.connect();
    wire.sendCommand(kQuery);
    const auto first = wire.receiveFrame();
    ASSERT_TRUE(first);
    EXPECT_FALSE(isAck(*first));
    EXPECT_EQ(unstuffed(*first).at(11), kPreset3Source);
    EXPECT_FALSE(wire.receiveFrame(300));
}

TEST(SimFault, WrongCodeChangesTheFirstPayloadByte) {
    SimProcess sim({"--tcp", "127.0.0.1:0", "--fault", "wrong-code:1", "--fault", "wrong-code:2"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    SimWire wire = SimWire::connectTcp(sim.host(), sim.port());
    wire.sendCommand(kQuery);
    ASSERT_TRUE(wire.receiveFrame());
    const auto answer = wire.receiveFrame();
    ASSERT_TRUE(answer);
    EXPECT_EQ(unstuffed(*answer).at(5), 0x3C) << "the tool shows ( 3c anstatt 2d )";
    wire.sendCommand("17,02,3b,04");
    ASSERT_TRUE(wire.receiveFrame());
    const auto reg = wire.receiveFrame();
    ASSERT_TRUE(reg);
    EXPECT_EQ(unstuffed(*reg).at(5), 0x3C) << "( 3c anstatt 3b )";
    expectNormalAnswer(wire);
}

TEST(SimFault, BadCrcSpoilsTheChecksumOfEveryFrame) {
    TcpSim s("bad-crc:1");
    ASSERT_TRUE(s.sim.ready()) << s.sim.error();
    SimWire wire = s.connect();
    wire.sendCommand(kQuery);
    const auto ack = wire.receiveFrame();
    const auto answer = wire.receiveFrame();
    ASSERT_TRUE(ack && answer);
    const Bytes a = unstuffed(*ack);
    const Bytes b = unstuffed(*answer);
    EXPECT_FALSE(checksumMatches(a.data(), static_cast<int>(a.size())));
    EXPECT_FALSE(checksumMatches(b.data(), static_cast<int>(b.size())));
    EXPECT_EQ(b.at(11), kPreset3Source);
}

TEST(SimFault, GarbageComesBeforeTheStartByte) {
    for (const char* faultText : {"garbage:1", "garbage:1:800"}) {
        SCOPED_TRACE(faultText);
        const std::size_t count = std::string(faultText) == "garbage:1" ? 16 : 800;
        TcpSim s(faultText);
        ASSERT_TRUE(s.sim.ready()) << s.sim.error();
        SimWire wire = s.connect();
        wire.sendCommand(kQuery);
        const Bytes garbage = wire.receiveBytes(count, 2000);
        ASSERT_EQ(garbage.size(), count);
        EXPECT_EQ(std::count(garbage.begin(), garbage.end(), 0xFE), 0);
        const auto ack = wire.receiveFrame();
        ASSERT_TRUE(ack);
        EXPECT_TRUE(isAck(*ack));
        const auto answer = wire.receiveFrame();
        ASSERT_TRUE(answer);
        EXPECT_EQ(unstuffed(*answer).at(11), kPreset3Source);
    }
}

TEST(SimFault, NoEndLeavesTheAnswerWithoutItsEndByte) {
    TcpSim s("no-end:1");
    ASSERT_TRUE(s.sim.ready()) << s.sim.error();
    SimWire wire = s.connect();
    wire.sendCommand(kQuery);
    const auto ack = wire.receiveFrame();
    ASSERT_TRUE(ack && isAck(*ack));
    const Bytes rest = wire.receiveBytes(100, 500);
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.front(), 0xFE);
    EXPECT_EQ(std::count(rest.begin(), rest.end(), 0xFF), 0);
    EXPECT_EQ(rest.size(), 14u) << "the 15-byte answer less its end byte";
    expectNormalAnswer(wire);
}

TEST(SimFault, OversizeSendsA512ByteAnswer) {
    TcpSim s("oversize:1");
    ASSERT_TRUE(s.sim.ready()) << s.sim.error();
    SimWire wire = s.connect();
    wire.sendCommand(kQuery);
    const auto ack = wire.receiveFrame();
    ASSERT_TRUE(ack && isAck(*ack));
    const auto answer = wire.receiveFrame();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->size(), 512u) << "the TCP link drops frames of 512 bytes or more";
    EXPECT_EQ(unstuffed(*answer).at(11), kPreset3Source);
    expectNormalAnswer(wire);
}

TEST(SimFault, CloseDropsTheConnectionAndServesTheNextOne) {
    TcpSim s("close:2");
    ASSERT_TRUE(s.sim.ready()) << s.sim.error();
    SimWire wire = s.connect();
    expectNormalAnswer(wire);
    wire.sendCommand(kQuery);
    EXPECT_TRUE(wire.peerClosed(2000));
    SimWire next = s.connect();
    expectNormalAnswer(next);
}

TEST(SimFault, CloseOnThePtyMakesTheLineSilent) {
    SimProcess sim({"--pty", "--fault", "close:2"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    SimWire line = SimWire::openPty(sim.ptyPath());
    expectNormalAnswer(line);
    line.sendCommand(kQuery);
    EXPECT_FALSE(line.receiveFrame(500));
    line.sendCommand(kQuery);
    EXPECT_FALSE(line.receiveFrame(500));
    EXPECT_EQ(sim.stop(), 0);
}

TEST(SimFault, DelayHoldsEveryFrameBack) {
    TcpSim s("delay:400");
    ASSERT_TRUE(s.sim.ready()) << s.sim.error();
    SimWire wire = s.connect();
    const auto start = Clock::now();
    wire.sendCommand(kQuery);
    ASSERT_TRUE(wire.receiveFrame(3000));
    const auto ackAt = Clock::now();
    ASSERT_TRUE(wire.receiveFrame(3000));
    const auto answerAt = Clock::now();
    EXPECT_GE(ackAt - start, std::chrono::milliseconds(400));
    EXPECT_GE(answerAt - ackAt, std::chrono::milliseconds(390));
}

TEST(SimFault, TrickleSendsByteByByte) {
    TcpSim s("trickle:20");
    ASSERT_TRUE(s.sim.ready()) << s.sim.error();
    SimWire wire = s.connect();
    wire.sendCommand(kQuery);
    const auto start = Clock::now();
    const Bytes first = wire.receiveBytes(1, 2000);
    ASSERT_EQ(first.size(), 1u);
    const Bytes early = wire.receiveBytes(20, 50);
    EXPECT_LE(early.size(), 4u) << "bytes come one at a time";
    const auto ack = wire.receiveFrame(3000);
    ASSERT_TRUE(ack);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(150));
}

TEST(SimFault, DropAnswerOnThePtyWithoutAcknowledgements) {
    SimProcess sim({"--pty", "--serial-ack", "0", "--fault", "drop-answer:1"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    SimWire line = SimWire::openPty(sim.ptyPath());
    line.sendCommand(kQuery);
    EXPECT_FALSE(line.receiveFrame(600)) << "no acknowledgement and no answer";
    line.sendCommand(kQuery);
    const auto answer = line.receiveFrame();
    ASSERT_TRUE(answer);
    EXPECT_EQ(unstuffed(*answer).at(11), kPreset3Source);
}

TEST(SimFault, FaultsAreNamedOnStderr) {
    TcpSim s("drop-answer:1");
    ASSERT_TRUE(s.sim.ready()) << s.sim.error();
    SimWire wire = s.connect();
    wire.sendCommand(kQuery);
    ASSERT_TRUE(wire.receiveFrame());
    EXPECT_FALSE(wire.receiveFrame(200));
    EXPECT_NE(s.sim.stderrText().find("#1: fault drop-answer"), std::string::npos)
        << s.sim.stderrText();
}

}  // namespace
}  // namespace q93::test
