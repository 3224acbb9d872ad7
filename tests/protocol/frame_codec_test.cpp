#include "protocol/frame_codec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "protocol/crc16.h"

namespace q93 {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes wireOf(const FrameCodec& codec) {
    return Bytes(codec.wireFrame(), codec.wireFrame() + codec.wireLength());
}

Bytes builtOf(const FrameCodec& codec) {
    return Bytes(codec.builtFrame(), codec.builtFrame() + codec.buildLength());
}

// Un-stuffing what stuffing produced must give the frame back, whatever bytes it holds.
Bytes roundTrip(const Bytes& frame) {
    std::uint8_t wire[kWireBufferSize];
    const int stuffed = stuffFrame(frame.data(), static_cast<int>(frame.size()), wire, sizeof wire);
    EXPECT_GT(stuffed, 0);
    const int length = unstuffFrame(wire, stuffed, sizeof wire);
    return length < 0 ? Bytes{} : Bytes(wire, wire + length);
}

TEST(Crc16, MatchesTheCatalogueCheckValue) {
    const char* check = "123456789";
    EXPECT_EQ(crc16Genibus(reinterpret_cast<const std::uint8_t*>(check), 9), 0xD64E);
}

TEST(FrameCodec, BuildsTheLevelQueryAsTheFirstFrame) {
    frameSequence = 0;
    FrameCodec codec;
    codec.buildFrame("2d,03,4d,49,20");
    const Bytes expected{0xFE, 0x00, 0x00, 0x00, 0x05, 0x2D, 0x03,
                         0x4D, 0x49, 0x20, 0xDA, 0x54, 0xFF};
    EXPECT_EQ(builtOf(codec), expected);
    EXPECT_EQ(wireOf(codec), expected);
    EXPECT_EQ(frameSequence.load(), 1);
}

TEST(FrameCodec, SequenceByteWrapsAndIsStuffedAt255) {
    frameSequence = 255;
    FrameCodec codec;
    codec.buildFrame("2d,03,4d,49,20");
    const Bytes wire = wireOf(codec);
    ASSERT_GE(wire.size(), 6u);
    EXPECT_EQ(wire[3], 0xFD);
    EXPECT_EQ(wire[4], 0x02);
    EXPECT_EQ(builtOf(codec)[3], 0xFF);

    codec.buildFrame("2d,03,4d,49,20");
    EXPECT_EQ(builtOf(codec)[3], 0x00);
}

TEST(FrameCodec, SequenceIsSharedByEveryConnection) {
    frameSequence = 10;
    FrameCodec first, second;
    first.buildFrame("01");
    second.buildFrame("01");
    EXPECT_EQ(builtOf(first)[3], 10);
    EXPECT_EQ(builtOf(second)[3], 11);
}

TEST(FrameCodec, StuffsEveryReservedByteBetweenStartAndEnd) {
    frameSequence = 0;
    FrameCodec codec;
    codec.buildFrame("fd,fe,ff,10");
    const Bytes built = builtOf(codec);
    const Bytes wire = wireOf(codec);
    EXPECT_EQ(wire.front(), 0xFE);
    EXPECT_EQ(wire.back(), 0xFF);
    for (std::size_t i = 1; i + 1 < wire.size(); ++i) {
        EXPECT_NE(wire[i], 0xFE) << "at " << i;
        EXPECT_NE(wire[i], 0xFF) << "at " << i;
    }
    const Bytes payloadOnWire(wire.begin() + 5, wire.begin() + 12);
    EXPECT_EQ(payloadOnWire, (Bytes{0xFD, 0x00, 0xFD, 0x01, 0xFD, 0x02, 0x10}));
    EXPECT_EQ(roundTrip(built), built);
}

TEST(FrameCodec, StuffsAChecksumByteThatIsReserved) {
    // Search for a payload whose checksum has an escape byte in it, and check both halves.
    bool sawHigh = false, sawLow = false;
    for (int value = 0; value < 65536 && !(sawHigh && sawLow); ++value) {
        const Bytes frame = composeFrame(
            {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)}, 0);
        const std::uint8_t high = frame[7], low = frame[8];
        if (high < 0xFD && low < 0xFD)
            continue;
        sawHigh |= high >= 0xFD;
        sawLow |= low >= 0xFD;
        std::uint8_t wire[32];
        const int stuffed = stuffFrame(frame.data(), static_cast<int>(frame.size()), wire, 32);
        EXPECT_EQ(stuffed, static_cast<int>(frame.size()) + (high >= 0xFD) + (low >= 0xFD) +
                               (frame[5] >= 0xFD) + (frame[6] >= 0xFD));
        EXPECT_EQ(roundTrip(frame), frame);
    }
    EXPECT_TRUE(sawHigh && sawLow);
}

TEST(FrameCodec, LongestPayloadOfReservedBytesFitsTheWireBuffer) {
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "ff,";
    FrameCodec codec;
    codec.buildFrame(text);
    EXPECT_EQ(codec.buildLength(), 255 + 8);
    EXPECT_EQ(builtOf(codec)[4], 255);
    EXPECT_LE(codec.wireLength(), kWireBufferSize);
    EXPECT_EQ(wireOf(codec).back(), 0xFF);
}

TEST(FrameCodec, UnstuffKeepsAnEscapeFollowedByAnOrdinaryByte) {
    std::uint8_t buffer[] = {0xFE, 0x00, 0xFD, 0x05, 0xFD, 0x01, 0xFF};
    const int length = unstuffFrame(buffer, sizeof buffer, sizeof buffer);
    EXPECT_EQ(Bytes(buffer, buffer + length), (Bytes{0xFE, 0x00, 0xFD, 0x05, 0xFE, 0xFF}));
}

TEST(FrameCodec, UnstuffNeedsStartAndEndWithinWhatWasReceived) {
    std::uint8_t noStart[] = {0x00, 0x01, 0xFF};
    EXPECT_EQ(unstuffFrame(noStart, 3, 3), -1);
    EXPECT_EQ(noStart[0], 0x00);

    std::uint8_t noEnd[] = {0xFE, 0x01, 0x02, 0xFF};
    // The end byte lies past the received count: stale bytes must not complete a frame.
    EXPECT_EQ(unstuffFrame(noEnd, 3, sizeof noEnd), -1);
    EXPECT_EQ(unstuffFrame(noEnd, 0, sizeof noEnd), -1);
    EXPECT_EQ(unstuffFrame(noEnd, 4, sizeof noEnd), 4);
}

TEST(FrameCodec, UnstuffNeverSearchesBeyondTheBuffer) {
    // A link that claims more bytes than the buffer holds must not make the search run on.
    std::vector<std::uint8_t> buffer(kWireBufferSize + 16, 0x11);
    buffer[0] = 0xFE;
    buffer[kWireBufferSize + 4] = 0xFF;
    EXPECT_EQ(unstuffFrame(buffer.data(), 5000, kWireBufferSize), -1);

    FrameCodec codec;
    std::memset(codec.receiveBuffer(), 0x11, FrameCodec::receiveCapacity());
    codec.receiveBuffer()[0] = 0xFE;
    codec.setReceivedLength(100000);
    EXPECT_EQ(codec.wireLength(), kWireBufferSize);
    EXPECT_FALSE(codec.unstuffAnswer());
    EXPECT_EQ(codec.answerByte(kWireBufferSize), 0);
    EXPECT_EQ(codec.answerByte(-1), 0);
}

TEST(FrameCodec, UnstuffsAnAnswerInThePlaceItWasReceived) {
    const Bytes answer = composeFrame({0x2D, 0x05, 0x4D, 0x49, 0x70, 0xFE, 0x01}, 7);
    FrameCodec codec;
    const int stuffed = stuffFrame(answer.data(), static_cast<int>(answer.size()),
                                   codec.receiveBuffer(), FrameCodec::receiveCapacity());
    codec.setReceivedLength(stuffed);
    ASSERT_TRUE(codec.unstuffAnswer());
    EXPECT_EQ(codec.wireLength(), static_cast<int>(answer.size()));
    EXPECT_EQ(codec.answerByte(10), 0xFE);
    EXPECT_EQ(codec.answerByte(11), 0x01);
}

struct AckCase {
    const char* name;
    Bytes frame;
    bool corruptChecksum;
    int expected;
};

TEST(FrameCodec, AcknowledgementCheckResults) {
    const AckCase cases[] = {
        {"code 0", composeFrame({0x18, 0x00}, 7), false, 0},
        {"code 0x2a", composeFrame({0x18, 0x2A}, 7), false, 0x2A},
        {"reserved code", composeFrame({0x18, 0xFE}, 0xFF), false, 0xFE},
        {"not an ack", composeFrame({0x2D, 0x00}, 7), false, kAckNoFrame},
        {"bad checksum", composeFrame({0x18, 0x00}, 7), true, kAckBadChecksum},
        {"no payload", composeFrame({}, 7), false, kAckNoFrame},
        {"ack without code", composeFrame({0x18}, 7), false, kAckNoFrame},
    };
    for (const AckCase& c : cases) {
        Bytes frame = c.frame;
        if (c.corruptChecksum)
            frame[frame.size() - 2] ^= 0x01;
        std::uint8_t raw[64];
        const int stuffed = stuffFrame(frame.data(), static_cast<int>(frame.size()), raw, 64);
        EXPECT_EQ(checkAcknowledge(raw, stuffed, sizeof raw), c.expected) << c.name;
    }
    std::uint8_t garbage[] = {0x18, 0x00, 0xFF};
    EXPECT_EQ(checkAcknowledge(garbage, 3, 3), kAckNoFrame);
    std::uint8_t shortFrame[] = {0xFE, 0x00, 0x00, 0xFF};
    EXPECT_EQ(checkAcknowledge(shortFrame, 4, 4), kAckBadChecksum);
}

TEST(FrameCodec, ChecksumVerificationCoversSequenceAndLength) {
    Bytes frame = composeFrame({0x18, 0x00}, 7);
    EXPECT_TRUE(checksumMatches(frame.data(), static_cast<int>(frame.size())));
    frame[3] = 8;
    EXPECT_FALSE(checksumMatches(frame.data(), static_cast<int>(frame.size())));
    EXPECT_FALSE(checksumMatches(frame.data(), 7));
}

}  // namespace
}  // namespace q93
