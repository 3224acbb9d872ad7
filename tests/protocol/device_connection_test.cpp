#include <gtest/gtest.h>

#include <chrono>

#include "base/string_table.h"
#include "protocol/command_formatters.h"
#include "protocol/device_connection.h"
#include "tests/link/tcp_loopback_server.h"
#include "tests/support/recording_seam.h"

namespace q93 {
namespace {

using test::Bytes;

const Bytes kAck = test::encoderFrame({0x18, 0x00});

// An encoder that acknowledges every request and then sends the scripted answer payload
// (none when it is empty).
test::LoopbackServer::Responder answering(Bytes payload) {
    return [payload](const Bytes&) {
        Bytes reply = kAck;
        if (!payload.empty()) {
            const Bytes answer = test::encoderFrame(payload, 7);
            reply.insert(reply.end(), answer.begin(), answer.end());
        }
        return reply;
    };
}

class OverTcp : public ::testing::Test {
protected:
    void connect(test::LoopbackServer& server) {
        connection.SetParameters("TCP/IP", "127.0.0.1", std::to_string(server.port()), 3, 0);
        ASSERT_EQ(connection.open(), 0);
        ASSERT_TRUE(connection.link().isOpen());
    }
    test::RecordingSeam seam;
    DeviceConnection connection;
};

TEST_F(OverTcp, ByteAnswerOfALongFormQuery) {
    test::LoopbackServer server(answering({0x2D, 0x05, 0x4D, 0x49, 0x70, 0x03, 0x01}));
    connect(server);
    connection.presetByte = 3;
    ASSERT_EQ(connection.query(0x70), 0);
    EXPECT_EQ(connection.ReadByteAnswer(0x2D), 1);
    EXPECT_EQ(connection.answerError, 0);
    EXPECT_EQ(server.requests().at(0), (Bytes{0x2D, 0x04, 0x4D, 0x49, 0x70, 0x03}));
    EXPECT_TRUE(seam.warnings.empty());
}

TEST_F(OverTcp, WordAnswerIsBigEndian) {
    test::LoopbackServer server(answering({0x2D, 0x07, 0x4D, 0x49, 0xD1, 0x00, 0x01, 0x02, 0x58}));
    connect(server);
    ASSERT_EQ(connection.queryIndexed(0xD1, 1), 0);
    EXPECT_EQ(connection.ReadWordAnswer(0x2D, 1), 600);
}

TEST_F(OverTcp, FloatAnswerOfAShortFormQuery) {
    test::LoopbackServer server(answering({0x2D, 0x07, 0x4D, 0x49, 0x11, 0x00, 0x00, 0x80, 0x3F}));
    connect(server);
    connection.shortForm = 1;
    ASSERT_EQ(connection.query(0x11), 0);
    EXPECT_EQ(connection.ReadFloatAnswer(0x2D, 0), 1.0);
    EXPECT_EQ(server.requests().at(0), (Bytes{0x2D, 0x03, 0x4D, 0x49, 0x11}));
}

TEST_F(OverTcp, WrongFirstByteIsShownAndClosesTheLink) {
    test::LoopbackServer server(answering({0x3C, 0x04, 0x02}));
    connect(server);
    ASSERT_EQ(connection.Transact("17,02,3b,04"), 0);
    EXPECT_EQ(connection.ReadByteAt(0x3B, 7), -1);
    EXPECT_EQ(connection.answerError, -1);
    EXPECT_EQ(seam.warnings,
              std::vector<std::string>{"Falsche Antwort vom Gerät ( 3c anstatt 3b )."});
    EXPECT_FALSE(connection.link().isOpen());
}

TEST_F(OverTcp, AnAnswerTooShortForItsValueIsNoAnswerNotRequestBytes) {
    // The wire buffer still holds the request 2d 04 4d 49 70 00 behind this answer.
    test::LoopbackServer server(answering({0x2D, 0x01}));
    connect(server);
    ASSERT_EQ(connection.query(0x70), 0);
    EXPECT_EQ(connection.ReadByteAnswer(0x2D), -1);
    EXPECT_EQ(connection.answerError, -1);
    EXPECT_EQ(seam.warnings, std::vector<std::string>{"Keine Antwort vom Gerät ( Timeout )!"});
}

TEST_F(OverTcp, MissingAcknowledgementTimesOutWithTheMessage) {
    test::LoopbackServer server([](const Bytes&) { return Bytes{}; });
    connect(server);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(connection.Transact("2d,03,4d,49,20"), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_EQ(seam.warnings, std::vector<std::string>{"Keine Antwort vom Gerät ( Timeout )!"});
    EXPECT_FALSE(connection.link().isOpen());
}

TEST_F(OverTcp, MissingDataAnswerSetsAnswerError) {
    test::LoopbackServer server(answering({}));
    connect(server);
    ASSERT_EQ(connection.query(0x44), 0);
    EXPECT_EQ(connection.ReadFloatAnswer(0x2D, 0), -1.0);
    EXPECT_EQ(connection.answerError, -1);
    EXPECT_EQ(seam.warnings, std::vector<std::string>{"Keine Antwort vom Gerät ( Timeout )!"});
}

TEST_F(OverTcp, FailedConnectFailsTheOpenWithItsOneMessage) {
    setLanguage(Language::German);
    const int closed = test::closedLoopbackPort();
    connection.SetParameters("TCP/IP", "127.0.0.1", std::to_string(closed), 3, 1);
    EXPECT_EQ(connection.open(), -1);
    EXPECT_EQ(connection.useTcp, 1);
    EXPECT_FALSE(connection.link().isOpen());
    EXPECT_EQ(seam.warnings, std::vector<std::string>{"Keine Verbindung zu '127.0.0.1/127.0.0.1' "
                                                      "auf Port '" +
                                                      std::to_string(closed) + "'!"});
    setLanguage(Language::English);
}

TEST(DeviceConnectionSettings, DefinedValuesBeforeAndAfterSetParameters) {
    DeviceConnection connection;
    EXPECT_EQ(connection.portName, "COM2");
    EXPECT_EQ(connection.baudRate, 9600);
    EXPECT_EQ(connection.expectAck, 1);
    EXPECT_EQ(connection.shortForm, 0);
    const int expected[] = {9600, 1200, 2400, 4800, 9600, 19200, 38400, 9600};
    for (int index = -1; index <= 6; ++index) {
        connection.SetParameters("COM5", "", "", index, 0);
        EXPECT_EQ(connection.baudRate, expected[index + 1]) << index;
    }
    EXPECT_EQ(connection.expectAck, 0);
}

TEST(DeviceConnectionSettings, LowerCaseTcpIpSelectsTheSerialLink) {
    test::RecordingSeam seam;
    DeviceConnection connection;
    connection.SetParameters("tcp/ip", "127.0.0.1", "5000", 3, 1);
    EXPECT_EQ(connection.open(), -1);
    EXPECT_EQ(connection.useTcp, 0);
    EXPECT_TRUE(seam.warnings.empty());  // the caller reports it
}

struct LinkChoice {
    const char* portName;
    bool tcp;
};

// The port name alone chooses the link, compared exactly; a link of the kind already chosen
// is kept, connection and all.
TEST(DeviceConnectionSettings, ThePortNameChoosesTheLink) {
    DeviceConnection connection;
    EXPECT_NE(connection.serialLink(), nullptr);  // COM2 until set
    const LinkChoice cases[] = {
        {"TCP/IP", true}, {"COM5", false}, {"tcp/ip", false}, {"TCP/IP", true}, {"", false},
    };
    for (const LinkChoice& c : cases) {
        SCOPED_TRACE(c.portName);
        const Link* before = &connection.link();
        const bool wasTcp = connection.tcpLink() != nullptr;
        connection.SetParameters(c.portName, "127.0.0.1", "5000", 3, 1);
        EXPECT_EQ(connection.tcpLink() != nullptr, c.tcp);
        EXPECT_EQ(connection.serialLink() != nullptr, !c.tcp);
        EXPECT_EQ(&connection.link() == before, wasTcp == c.tcp);
    }
}

struct FormattedCommand {
    std::string text;
    const char* expected;
};

TEST(CommandFormatters, TextsAsTheEncoderReceivesThem) {
    const CommandForm preset3{false, 3};
    const CommandForm device{true, 0};
    const FormattedCommand cases[] = {
        {queryText(0x70, preset3), "2d,04,4d,49,70,03"},
        {queryText(0x13, device), "2d,03,4d,49,13"},
        {queryIndexedText(0xD1, 2, preset3), "2d,05,4d,49,d1,03,02"},
        {memoryQueryText(0x7F24), "2d,07,4d,49,02,00,00,7f,24"},
        {setByteText(0x03, 2, device), "2d,04,4d,49,03,02"},
        {setByteText(0x60, 1, preset3), "2d,05,4d,49,60,03,01"},
        {setByteText(0x60, -1, preset3), "2d,05,4d,49,60,03,ff"},
        {set32Text(0x10, floatBits(1.0), device), "2d,07,4d,49,10,00,00,80,3f"},
        {set32Text(0x34, floatBits(-2.5), preset3), "2d,08,4d,49,34,03,00,00,20,c0"},
        {setIndexed32Text(0x32, 1, floatBits(1.0), preset3), "2d,09,4d,49,32,03,01,00,00,80,3f"},
        {setIndexed16Text(0xD0, 3, 600, preset3), "2d,07,4d,49,d0,03,03,02,58"},
        {registerWriteText("3c,01,%02x", 4), "3c,01,04"},
        {registerWriteText("3b,02,%02x", 0x1FF), "3b,02,ff"},
    };
    for (const FormattedCommand& row : cases)
        EXPECT_EQ(row.text, row.expected);
}

TEST(CommandFormatters, RealsBeyondTheFloatRangeGoAsTheLargestFloat) {
    EXPECT_EQ(floatBits(1e300), 0x7F7FFFFFu);
    EXPECT_EQ(floatBits(-1e300), 0xFF7FFFFFu);
}

}  // namespace
}  // namespace q93
