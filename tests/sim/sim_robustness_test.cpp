// Whatever arrives on the line, q93sim neither crashes nor hangs: afterwards a normal
// request still gets its answer, and SIGTERM still ends it with exit status 0.
#include <gtest/gtest.h>

#include <random>

#include "sim/encoder_model.h"
#include "tests/sim/sim_wire.h"
#include "tests/support/sim_process.h"

namespace q93::test {
namespace {

const int kPreset3Source = sim::EncoderModel::factoryPreset(3).inputSource;

Bytes randomBytes(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes out(count);
    for (auto& b : out) b = static_cast<std::uint8_t>(byte(generator));
    return out;
}

void sendInChunks(SimWire& wire, const Bytes& bytes, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<std::size_t> size(1, 97);
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t n = std::min(size(generator), bytes.size() - at);
        wire.sendBytes(Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                             bytes.begin() + static_cast<std::ptrdiff_t>(at + n)));
        at += n;
    }
}

// Sends the query and looks for its answer among whatever frames come back.
bool stillAnswers(SimWire& wire) {
    // An end byte first closes any frame the random bytes left open on the encoder's side.
    wire.sendBytes({0xFF});
    while (wire.receiveFrame(300)) {
    }
    wire.sendCommand("2d,04,4d,49,70,03");
    for (int i = 0; i < 4; ++i) {
        const auto frame = wire.receiveFrame(2000);
        if (!frame) return false;
        const Bytes f = unstuffed(*frame);
        if (f.size() == 15 && f[5] == 0x2D && f[9] == 0x70) return f[11] == kPreset3Source;
    }
    return false;
}

TEST(SimRobustness, SurvivesRandomBytesOnTcp) {
    SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    {
        SimWire wire = SimWire::connectTcp(sim.host(), sim.port());
        sendInChunks(wire, randomBytes(20000, 93), 1);
        EXPECT_TRUE(stillAnswers(wire));
    }
    // Half frames left behind by clients that go away.
    for (unsigned seed = 0; seed < 20; ++seed) {
        SimWire wire = SimWire::connectTcp(sim.host(), sim.port());
        Bytes half = randomBytes(50, seed);
        half.insert(half.begin(), 0xFE);
        std::replace(half.begin() + 1, half.end(), std::uint8_t{0xFF}, std::uint8_t{0x00});
        wire.sendBytes(half);
    }
    // An oversized frame, with no end byte for 5000 bytes.
    SimWire wire = SimWire::connectTcp(sim.host(), sim.port());
    Bytes big(5000, 0x41);
    big[0] = 0xFE;
    wire.sendBytes(big);
    EXPECT_TRUE(stillAnswers(wire));
    EXPECT_EQ(sim.stop(), 0);
}

TEST(SimRobustness, SurvivesRandomBytesOnThePty) {
    for (const char* ack : {"1", "0"}) {
        SCOPED_TRACE(ack);
        SimProcess sim({"--pty", "--serial-ack", ack});
        ASSERT_TRUE(sim.ready()) << sim.error();
        SimWire line = SimWire::openPty(sim.ptyPath());
        sendInChunks(line, randomBytes(20000, 1993), 2);
        EXPECT_TRUE(stillAnswers(line));
        line.close();
        SimWire again = SimWire::openPty(sim.ptyPath());
        EXPECT_TRUE(stillAnswers(again));
        EXPECT_EQ(sim.stop(), 0);
    }
}

TEST(SimRobustness, ManyShortConnections) {
    SimProcess sim({"--tcp", "127.0.0.1:0"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    for (int i = 0; i < 60; ++i) {
        SimWire wire = SimWire::connectTcp(sim.host(), sim.port());
        ASSERT_TRUE(wire.ok());
        if (i % 3 == 0) wire.sendCommand("2d,04,4d,49,70,03");  // and go away before the answer
    }
    SimWire wire = SimWire::connectTcp(sim.host(), sim.port());
    EXPECT_TRUE(stillAnswers(wire));
    EXPECT_EQ(sim.stop(), 0);
}

}  // namespace
}  // namespace q93::test
