#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "base/frame_log.h"
#include "base/string_table.h"
#include "link/tcp_link.h"
#include "tests/link/tcp_loopback_server.h"
#include "tests/support/frame_recorder.h"
#include "tests/support/recording_seam.h"

namespace q93 {
namespace {

using test::Bytes;
using Clock = std::chrono::steady_clock;

// Every case holds for both ways a link takes its answers: through its reader thread, and
// from the socket on the taking thread (the watch's).
class TcpLinkTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        setLanguage(Language::English);
        setTcpTakeFromSocket(GetParam());
    }
    void TearDown() override { setTcpTakeFromSocket(false); }

    Bytes take(int& result) {
        std::uint8_t buffer[kTcpFrameCapacity] = {};
        int length = -1;
        result = link.receiveFrame(buffer, length);
        return Bytes(buffer, buffer + length);
    }
    Bytes take() {
        int result = 0;
        return take(result);
    }

    test::RecordingSeam seam;
    test::LoopbackServer server;
    TcpLink link;
};

TEST_P(TcpLinkTest, CutsTheStreamIntoFramesWhateverTheChunking) {
    const Bytes stream = {0x41, 0xFE, 0x01, 0xFF, 0xFE, 0x02};
    for (std::size_t chunk : {1u, 2u, 3u, 6u}) {
        SCOPED_TRACE(chunk);
        TcpLink fresh;
        ASSERT_EQ(fresh.open("", "127.0.0.1", server.port()), 0);
        for (std::size_t at = 0; at < stream.size(); at += chunk) {
            const auto end = stream.begin() + std::min(stream.size(), at + chunk);
            server.send(Bytes(stream.begin() + at, end));
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        std::uint8_t buffer[kTcpFrameCapacity];
        int length = 0;
        ASSERT_EQ(fresh.receiveFrame(buffer, length), 0);
        EXPECT_EQ(Bytes(buffer, buffer + length), (Bytes{0xFE, 0x01, 0xFF}));
        fresh.close();
        server.dropClient();
    }
}

TEST_P(TcpLinkTest, BackToBackAnswersAreTakenInOrder) {
    ASSERT_EQ(link.open("", "127.0.0.1", server.port()), 0);
    server.send({0xFE, 0x01, 0xFF, 0xFE, 0x02, 0x03, 0xFF});
    EXPECT_EQ(take(), (Bytes{0xFE, 0x01, 0xFF}));
    EXPECT_EQ(take(), (Bytes{0xFE, 0x02, 0x03, 0xFF}));
}

TEST_P(TcpLinkTest, EmptyQueueTimesOutAfterAboutOneSecondAndLogsAnEmptyEntry) {
    test::FrameRecorder logger;
    ASSERT_EQ(link.open("", "127.0.0.1", server.port()), 0);
    const auto start = Clock::now();
    int result = 0;
    const Bytes got = take(result);
    const auto waited = Clock::now() - start;
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(got.empty());
    EXPECT_GE(waited, std::chrono::milliseconds(1000));
    EXPECT_LT(waited, std::chrono::milliseconds(1500));
    ASSERT_EQ(logger.entries.size(), 1u);
    EXPECT_TRUE(logger.entries[0].bytes.empty());
    EXPECT_EQ(logger.entries[0].direction, kFrameReceived);
}

TEST_P(TcpLinkTest, AFrameOf511BytesPassesAndOneOf512IsDropped) {
    ASSERT_EQ(link.open("", "127.0.0.1", server.port()), 0);
    for (const std::size_t size : {511u, 512u}) {
        Bytes frame(size, 0x55);
        frame.front() = 0xFE;
        frame.back() = 0xFF;
        server.send(frame);
        int result = 0;
        const Bytes got = take(result);
        EXPECT_EQ(result, size == 511 ? 0 : -1) << size;
        EXPECT_EQ(got.size(), size == 511 ? 511u : 0u) << size;
    }
}

TEST_P(TcpLinkTest, AnEndlessFrameIsGivenUpAndTheNextOneStillArrives) {
    ASSERT_EQ(link.open("", "127.0.0.1", server.port()), 0);
    Bytes runaway(3000, 0x55);
    runaway.front() = 0xFE;
    server.send(runaway);
    server.send({0xFE, 0x07, 0xFF});
    EXPECT_EQ(take(), (Bytes{0xFE, 0x07, 0xFF}));
}

TEST_P(TcpLinkTest, AnEncoderThatNeverStopsSendingHoldsNeitherATakeNorADiscard) {
    ASSERT_EQ(link.open("", "127.0.0.1", server.port()), 0);
    std::atomic<bool> done{false};
    std::atomic<bool> floodEnded{false};
    std::thread flood([&] {
        Bytes frames;
        for (int i = 0; i < 20000; ++i)
            frames.insert(frames.end(), {0xFE, 0x01, 0xFF});
        const auto bound = Clock::now() + std::chrono::seconds(20);
        while (!done && Clock::now() < bound)
            server.send(frames);
        floodEnded = true;
    });
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(take(), (Bytes{0xFE, 0x01, 0xFF}));
        link.discardPending();
    }
    const bool heldUntilTheFloodEnded = floodEnded;
    done = true;
    link.close();  // a send blocked on full buffers fails now
    flood.join();
    EXPECT_FALSE(heldUntilTheFloodEnded);
}

TEST_P(TcpLinkTest, SendsTheFrameAndLogsIt) {
    test::FrameRecorder logger;
    ASSERT_EQ(link.open("", "127.0.0.1", server.port()), 0);
    const Bytes frame = test::encoderFrame({0x2D, 0x03, 0x4D, 0x49, 0x20});
    EXPECT_EQ(link.sendFrame(frame.data(), static_cast<int>(frame.size())), 0);
    const auto deadline = Clock::now() + std::chrono::seconds(1);
    while (server.requests().empty() && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0], (Bytes{0x2D, 0x03, 0x4D, 0x49, 0x20}));
    ASSERT_EQ(logger.entries.size(), 1u);
    EXPECT_EQ(logger.entries[0].bytes, frame);
    EXPECT_EQ(logger.entries[0].direction, kFrameSent);
}

TEST_P(TcpLinkTest, OpenWhileConnectedOnlyEmptiesTheQueue) {
    ASSERT_EQ(link.open("", "127.0.0.1", server.port()), 0);
    const int socket = link.client().socket();
    server.send({0xFE, 0x01, 0xFF});
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(link.open("", "127.0.0.1", test::closedLoopbackPort()), 0);
    EXPECT_EQ(link.client().socket(), socket);
    server.send({0xFE, 0x02, 0xFF});
    EXPECT_EQ(take(), (Bytes{0xFE, 0x02, 0xFF}));
    EXPECT_TRUE(seam.warnings.empty());
}

TEST_P(TcpLinkTest, AClosedConnectionEndsTakesWithinTheTimeOut) {
    ASSERT_EQ(link.open("", "127.0.0.1", server.port()), 0);
    server.send({0xFE, 0x01, 0xFF});
    ASSERT_EQ(take(), (Bytes{0xFE, 0x01, 0xFF}));  // the server holds the connection now
    server.dropClient();
    const auto start = Clock::now();
    int result = 0;
    take(result);
    EXPECT_EQ(result, -1);
    // Read from the socket, the end of the stream is seen at once; the reader thread only
    // ends, and the take runs out its time.
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(GetParam() ? 900 : 1500));
    EXPECT_TRUE(link.connected());  // nothing reconnects or notices by itself
    link.close();
    EXPECT_FALSE(link.connected());
}

INSTANTIATE_TEST_SUITE_P(TakeWays, TcpLinkTest, ::testing::Values(false, true),
                         [](const auto& info) {
                             return std::string(info.param ? "FromSocket" : "ThroughReader");
                         });

struct FailedOpen {
    const char* hostName;
    const char* ipText;
    const char* message;
};

TEST_P(TcpLinkTest, FailedOpensShowMessage112) {
    const int closed = test::closedLoopbackPort();
    const std::string port = std::to_string(closed);
    const FailedOpen cases[] = {
        {"", "10.0.0.300", "No connection to '/10.0.0.300' on port '%d'!"},
        {"10.0.0.300", "10.0.0.300", "No connection to '10.0.0.300/10.0.0.300' on port '%d'!"},
        {"", "127.0.0.1", "No connection to '/127.0.0.1' on port '%d'!"},
        {"", "", "No connection to '/' on port '%d'!"},
        {"", "255.255.255.255", "No connection to '/255.255.255.255' on port '%d'!"},
    };
    for (const FailedOpen& row : cases) {
        SCOPED_TRACE(row.ipText);
        seam.warnings.clear();
        EXPECT_EQ(link.open(row.hostName, row.ipText, closed), -1);
        EXPECT_FALSE(link.connected());
        char expected[256];
        std::snprintf(expected, sizeof expected, row.message, closed);
        ASSERT_EQ(seam.warnings.size(), 1u);
        EXPECT_EQ(seam.warnings[0], expected);
    }
}

TEST(TcpAddress, DottedTextsAreParsedNeverLookedUp) {
    std::uint32_t address = 0;
    EXPECT_TRUE(resolveHostName("127.0.0.1", address));
    EXPECT_EQ(address, htonl(0x7F000001));
    EXPECT_FALSE(resolveHostName("10.0.0.300", address));
    EXPECT_FALSE(resolveHostName("1.2.3.4.5", address));
    EXPECT_FALSE(parseDottedAddress("255.255.255.255", address));
    EXPECT_FALSE(parseDottedAddress("", address));
}

TEST(TcpAddress, TooLongTextsAreRefusedNotCut) {
    test::LoopbackServer server;
    TcpClient client;
    client.ipText = "127.0.0.1" + std::string(kMaxIpText, ' ');
    client.tcpPort = server.port();
    EXPECT_EQ(client.connect(), kAddressInvalid);
    client.ipText = "127.0.0.1";
    client.hostName = std::string(kMaxHostName + 1, 'a');
    EXPECT_EQ(client.connect(), kAddressInvalid);
    client.hostName.clear();
    client.tcpPort = server.port() + 0x10000;
    EXPECT_EQ(client.connect(), kConnectFailed);
    client.tcpPort = server.port();
    EXPECT_EQ(client.connect(), 0);
}

}  // namespace
}  // namespace q93
