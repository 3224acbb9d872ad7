#include "sim/frame_reader.h"

#include <gtest/gtest.h>

#include "protocol/crc16.h"
#include "protocol/frame_codec.h"
#include "tests/sim/sim_wire.h"

namespace q93::test {
namespace {

using sim::FrameReader;

std::vector<Bytes> feedAll(FrameReader& reader, const Bytes& bytes, std::size_t chunk) {
    std::vector<Bytes> frames;
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        reader.feed(bytes.data() + at, std::min(chunk, bytes.size() - at),
                    [&](std::span<const std::uint8_t> f) { frames.emplace_back(f.begin(), f.end()); });
    }
    return frames;
}

TEST(SimFrameReader, DropsGarbageBetweenFramesInAnyChunking) {
    const Bytes stream = {0x41, 0xFF, 0xFE, 0x01, 0xFF, 0x00, 0x13, 0xFE, 0x02, 0x03, 0xFF, 0xFE, 0x09};
    for (std::size_t chunk : {1u, 2u, 3u, 5u, 64u}) {
        SCOPED_TRACE(chunk);
        FrameReader reader;
        const std::vector<Bytes> frames = feedAll(reader, stream, chunk);
        ASSERT_EQ(frames.size(), 2u);
        EXPECT_EQ(frames[0], (Bytes{0xFE, 0x01, 0xFF}));
        EXPECT_EQ(frames[1], (Bytes{0xFE, 0x02, 0x03, 0xFF}));
        EXPECT_TRUE(reader.inFrame());
        EXPECT_EQ(reader.droppedBytes(), 4u);
        EXPECT_EQ(reader.reset(), 2u) << "the half frame at the end";
    }
}

TEST(SimFrameReader, AStartByteInsideAFrameStartsItAfresh) {
    FrameReader reader;
    const std::vector<Bytes> frames = feedAll(reader, {0xFE, 0x01, 0x02, 0xFE, 0x03, 0xFF}, 1);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], (Bytes{0xFE, 0x03, 0xFF}));
    EXPECT_EQ(reader.brokenFrames(), 1u);
}

TEST(SimFrameReader, DropsAFrameThatGrowsTooLong) {
    FrameReader reader;
    Bytes stream = {0xFE};
    stream.resize(FrameReader::kMaxFrameBytes + 100, 0x11);
    stream.push_back(0xFF);
    stream.insert(stream.end(), {0xFE, 0x05, 0xFF});
    const std::vector<Bytes> frames = feedAll(reader, stream, 7);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], (Bytes{0xFE, 0x05, 0xFF}));
    EXPECT_EQ(reader.brokenFrames(), 1u);
}

TEST(SimFrameReader, DecodesARequestAndRejectsDamage) {
    FrameCodec codec;
    codec.buildFrame("2d,04,4d,49,70,03");
    const Bytes raw(codec.wireFrame(), codec.wireFrame() + codec.wireLength());
    const sim::DecodedRequest good = sim::decodeRequest(raw);
    EXPECT_EQ(good.check, sim::RequestCheck::Ok);
    EXPECT_EQ(good.payload, (Bytes{0x2D, 0x04, 0x4D, 0x49, 0x70, 0x03}));

    Bytes badCrc = raw;
    badCrc[badCrc.size() - 3] ^= 0x10;
    EXPECT_EQ(sim::decodeRequest(badCrc).check, sim::RequestCheck::BadChecksum);
    EXPECT_EQ(sim::decodeRequest(Bytes{0xFE, 0x00, 0xFF}).check, sim::RequestCheck::TooShort);
    EXPECT_EQ(sim::decodeRequest(Bytes{0x00, 0xFF}).check, sim::RequestCheck::NoFrame);

    // A length byte that does not match the bytes present, with a matching checksum.
    Bytes wrongLength = composeFrame({0x2D, 0x03, 0x4D, 0x49, 0x20}, 0);
    wrongLength[4] = 9;
    const std::uint16_t crc = crc16Genibus(wrongLength.data() + 1, wrongLength.size() - 4);
    wrongLength[wrongLength.size() - 3] = static_cast<std::uint8_t>(crc >> 8);
    wrongLength[wrongLength.size() - 2] = static_cast<std::uint8_t>(crc);
    Bytes wire(64);
    wire.resize(static_cast<std::size_t>(stuffFrame(wrongLength.data(), static_cast<int>(wrongLength.size()),
                                                    wire.data(), static_cast<int>(wire.size()))));
    EXPECT_EQ(sim::decodeRequest(wire).check, sim::RequestCheck::BadLength);
}

}  // namespace
}  // namespace q93::test
