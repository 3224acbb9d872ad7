// Failures of the two links that the neighbouring tests do not make happen: a serial line
// whose far end stops taking bytes, and TCP takes that fail after a drop or a lost send.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <functional>
#include <thread>

#include "base/frame_bytes.h"
#include "base/string_table.h"
#include "link/serial_link.h"
#include "link/tcp_link.h"
#include "tests/link/tcp_loopback_server.h"
#include "tests/support/frame_recorder.h"
#include "tests/support/mapped_line.h"
#include "tests/support/recording_seam.h"

namespace q93 {
namespace {

using test::Bytes;

TEST(SerialLinkStuck, AFullTransmitQueueFailsTheSendAndLogsNothingOfIt) {
    test::MappedLine line;
    test::FrameRecorder log;
    SerialLink link;
    link.portName = line.portName();
    link.baudRate = 38400;
    ASSERT_EQ(link.open(), 0);
    std::vector<std::uint8_t> frame(kSerialFrameCapacity, 0x55);
    frame.front() = kStartByte;
    frame.back() = kEndByte;

    // Nobody reads the far end: the terminal's buffers fill and then take nothing more.
    int sent = 0;
    int result = 0;
    while (sent < 1000 && (result = link.sendFrame(frame.data(), kSerialFrameCapacity)) == 0)
        ++sent;
    ASSERT_EQ(result, -1);
    EXPECT_EQ(log.entries.size(), static_cast<std::size_t>(sent));

    // What did go out of the failed frame is a part of it, never the whole.
    const std::size_t whole = frame.size() * static_cast<std::size_t>(sent);
    const std::string arrived = line.far().receive(whole + frame.size(), 2000);
    EXPECT_GE(arrived.size(), whole);
    EXPECT_LT(arrived.size(), whole + frame.size());
}

struct FailedTake {
    const char* what;
    std::function<void(test::LoopbackServer&, TcpLink&)> cause;
    bool stillConnected;  // the next frame the encoder sends is then the next one taken
};

void sendAfterTheEncoderLeft(test::LoopbackServer& server, TcpLink& link) {
    const Bytes frame = test::encoderFrame({0x2D, 0x03, 0x4D, 0x49, 0x20});
    const int length = static_cast<int>(frame.size());
    // The encoder must have taken the connection before it can drop it.
    ASSERT_EQ(link.sendFrame(frame.data(), length), 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (server.requests().empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(server.requests().size(), 1u);
    server.dropClient();
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(link.sendFrame(frame.data(), length), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // The encoder's reset has come back by now, so the sends above did fail.
    ASSERT_LT(::send(link.client().socket(), frame.data(), frame.size(), MSG_NOSIGNAL), 0);
}

void queueAnOversizeFrame(test::LoopbackServer& server, TcpLink&) {
    Bytes frame(kTcpFrameCapacity + 1, 0x55);
    frame.front() = kStartByte;
    frame.back() = kEndByte;
    server.send(frame);
}

// A take that fails puts an empty received entry into the port log; no message is shown by
// the link, which leaves that to the connection.
TEST(TcpLinkLoss, AFailedTakeLogsAnEmptyReceivedEntry) {
    setLanguage(Language::English);
    const FailedTake rows[] = {
        {"sends fail once the encoder has closed", sendAfterTheEncoderLeft, false},
        {"a queued frame of 512 bytes", queueAnOversizeFrame, true},
    };
    for (const FailedTake& row : rows) {
        SCOPED_TRACE(row.what);
        test::RecordingSeam seam;
        test::LoopbackServer server;
        TcpLink link;
        ASSERT_EQ(link.open("", "127.0.0.1", server.port()), 0);
        test::FrameRecorder log;
        row.cause(server, link);
        log.entries.clear();

        std::uint8_t buffer[kTcpFrameCapacity] = {};
        int length = -1;
        EXPECT_EQ(link.receiveFrame(buffer, length), -1);
        EXPECT_EQ(length, 0);
        ASSERT_EQ(log.entries.size(), 1u);
        EXPECT_TRUE(log.entries[0].bytes.empty());
        EXPECT_EQ(log.entries[0].direction, kFrameReceived);
        EXPECT_TRUE(seam.warnings.empty());
        if (row.stillConnected) {
            server.send({kStartByte, 0x07, kEndByte});
            EXPECT_EQ(link.receiveFrame(buffer, length), 0);
            EXPECT_EQ(Bytes(buffer, buffer + length), (Bytes{kStartByte, 0x07, kEndByte}));
        }
    }
}

}  // namespace
}  // namespace q93
