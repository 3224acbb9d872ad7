#include "sim/fault_plan.h"

#include <gtest/gtest.h>

#include "protocol/frame_codec.h"
#include "sim/answer_frames.h"
#include "sim/sim_options.h"
#include "tests/sim/sim_wire.h"

namespace q93::test {
namespace {

using sim::FaultKind;

TEST(SimFaultPlan, ParsesEveryDocumentedFault) {
    const struct {
        const char* faultText;
        FaultKind kind;
        int request;
        int amount;
    } rows[] = {
        {"drop-answer:3", FaultKind::DropAnswer, 3, 0},
        {"drop-ack:1", FaultKind::DropAck, 1, 0},
        {"wrong-code:2", FaultKind::WrongCode, 2, 0},
        {"bad-crc:7", FaultKind::BadCrc, 7, 0},
        {"garbage:4", FaultKind::Garbage, 4, 16},
        {"garbage:4:800", FaultKind::Garbage, 4, 800},
        {"no-end:5", FaultKind::NoEnd, 5, 0},
        {"oversize:6", FaultKind::Oversize, 6, 512},
        {"oversize:6:800", FaultKind::Oversize, 6, 800},
        {"close:9", FaultKind::Close, 9, 0},
        {"delay:1500", FaultKind::Delay, 0, 1500},
        {"trickle:20", FaultKind::Trickle, 0, 20},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.faultText);
        std::string error;
        const auto fault = sim::parseFault(row.faultText, &error);
        ASSERT_TRUE(fault) << error;
        EXPECT_EQ(fault->kind, row.kind);
        EXPECT_EQ(fault->request, row.request);
        EXPECT_EQ(fault->amount, row.amount);
        EXPECT_EQ(sim::parseFault(sim::describeFault(*fault), nullptr)->amount, row.amount);
    }
}

TEST(SimFaultPlan, RefusesMalformedFaults) {
    for (const char* faultText :
         {"drop-answer", "drop-answer:", "drop-answer:0", "drop-answer:x", "close:1:2",
          "garbage:1:0", "oversize:1:10", "delay:-1", "nonsense:1", ""}) {
        SCOPED_TRACE(faultText);
        std::string error;
        EXPECT_FALSE(sim::parseFault(faultText, &error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(SimFaultPlan, CountsRequestsAndSelectsTheirFaults) {
    sim::FaultPlan plan(
        {{FaultKind::DropAnswer, 2, 0}, {FaultKind::Garbage, 2, 16}, {FaultKind::Delay, 0, 50}});
    EXPECT_EQ(plan.nextRequest(), 1);
    EXPECT_TRUE(plan.faultsFor(1).empty());
    EXPECT_EQ(plan.nextRequest(), 2);
    EXPECT_EQ(plan.faultsFor(2).size(), 2u);
    EXPECT_TRUE(plan.has(2, FaultKind::Garbage));
    EXPECT_EQ(plan.delayMs(), 50);
    EXPECT_EQ(plan.trickleMs(), 0);
}

TEST(SimAnswerFrames, OversizeFramesHaveTheExactWireLength) {
    const Bytes payload = {0x2D, 0x05, 0x4D, 0x49, 0x70, 0x03, 0x01};
    for (int sequence = 0; sequence < 256; ++sequence) {
        for (std::size_t size : {512u, 511u, 800u}) {
            const Bytes wire =
                sim::oversizeFrame(payload, static_cast<std::uint8_t>(sequence), size);
            ASSERT_EQ(wire.size(), size) << "sequence " << sequence;
            const Bytes frame = unstuffed(wire);
            ASSERT_FALSE(frame.empty());
            EXPECT_EQ(frame.at(11), 0x01) << "the value stays where the tool reads it";
            EXPECT_TRUE(checksumMatches(frame.data(), static_cast<int>(frame.size())));
        }
    }
}

TEST(SimAnswerFrames, GarbageNeverHoldsAStartByte) {
    const Bytes garbage = sim::garbageBytes(5000, 3);
    EXPECT_EQ(std::count(garbage.begin(), garbage.end(), 0xFE), 0);
    EXPECT_EQ(sim::garbageBytes(100, 3), Bytes(garbage.begin(), garbage.begin() + 100))
        << "reproducible";
}

TEST(SimOptions, ParsesTheContract) {
    sim::SimOptions options;
    std::string error;
    ASSERT_TRUE(
        sim::parseOptions({"--tcp", "0.0.0.0:5000", "--pty", "--serial-ack", "0", "--store",
                           "/tmp/x", "--fault", "close:3", "--fault=delay:100", "--baud", "9600"},
                          options, &error))
        << error;
    EXPECT_TRUE(options.tcp);
    EXPECT_EQ(options.tcpHost, "0.0.0.0");
    EXPECT_EQ(options.tcpPort, 5000);
    EXPECT_TRUE(options.pty);
    EXPECT_FALSE(options.serialAck);
    EXPECT_EQ(options.storeDir, "/tmp/x");
    EXPECT_EQ(options.faults.size(), 2u);
    EXPECT_EQ(options.baud, 9600);

    sim::SimOptions defaults;
    ASSERT_TRUE(sim::parseOptions({}, defaults, &error));
    EXPECT_TRUE(defaults.tcp) << "TCP on a free port when no transport is named";
    EXPECT_TRUE(defaults.serialAck);

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--tcp"},
                                                {"--tcp", "nohost"},
                                                {"--tcp", "h:70000"},
                                                {"--serial-ack", "2"},
                                                {"--fault", "bogus:1"},
                                                {"--baud", "0"},
                                                {"--what"}}) {
        sim::SimOptions o;
        EXPECT_FALSE(sim::parseOptions(bad, o, &error)) << bad[0];
    }
}

TEST(SimOptions, HelpDocumentsEveryFaultAndTheFactoryValues) {
    const std::string help = sim::helpText();
    for (const char* word :
         {"drop-answer:N", "drop-ack:N", "wrong-code:N", "bad-crc:N", "garbage:N", "no-end:N",
          "oversize:N", "close:N", "delay:MS", "trickle:MS", "Factory values", "inputSource",
          "sensitivity40k", "--serial-ack"}) {
        EXPECT_NE(help.find(word), std::string::npos) << word;
    }
}

}  // namespace
}  // namespace q93::test
