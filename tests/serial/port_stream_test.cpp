#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "serial/comm_errors.h"
#include "serial/flow_control.h"
#include "serial/line_settings.h"
#include "serial/port_stream.h"
#include "serial/posix_comm_port.h"
#include "tests/support/mapped_line.h"

namespace q93::serial {
namespace {

using test::MappedLine;

class PortStreamTest : public ::testing::Test {
protected:
    speed_t deviceSpeed() const {
        const termios device = line.deviceSettings();
        return cfgetospeed(&device);
    }

    MappedLine line;
    PosixCommPort port{line.portIndex(), 4096, 2048, 0};
};

TEST_F(PortStreamTest, SetsNineThousandSixHundredAndPutsTheFoundValuesBack) {
    ASSERT_EQ(port.getLastError(), 0);
    {
        PortStream stream(port);
        EXPECT_EQ(deviceSpeed(), B9600);
        EXPECT_EQ(stream.line()->savedBaud(), 19200);
        ASSERT_EQ(stream.flow()->set(FLOW_XONXOFF, FLOW_XONXOFF), 0);
        EXPECT_NE(line.deviceSettings().c_iflag & IXON, 0u);
    }
    EXPECT_EQ(deviceSpeed(), B19200);
    EXPECT_EQ(line.deviceSettings().c_iflag & (IXON | IXOFF), 0u);
}

TEST_F(PortStreamTest, StreamOnAFailedPortHasNoCompanionsAndReportsTheFailure) {
    PosixCommPort second(line.portIndex(), 4096, 2048, 0);
    PortStream stream(second);
    EXPECT_EQ(stream.line(), nullptr);
    EXPECT_EQ(stream.flow(), nullptr);
    int flags = -1;
    EXPECT_EQ(stream.takeError(flags), CL_ERR_INUSE);
    EXPECT_EQ(stream.takeError(flags), 0);
    EXPECT_EQ(flags, 0);
}

TEST_F(PortStreamTest, GetCharGivesNoDataOnAnEmptyQueueAndTheCharacterWhenOneCame) {
    PortStream stream(port);
    EXPECT_EQ(stream.getChar(0), CL_ERR_NODATA);
    EXPECT_EQ(stream.getChar(1), CL_ERR_NODATA);
    line.far().send("x");
    EXPECT_EQ(stream.getChar(1000), 'x');
}

struct RefusedCase {
    const char* what;
    std::int32_t baud;
    char parity;
    int dataBits;
    int stopBits;
};

TEST_F(PortStreamTest, ARefusedSetterKeepsThePreviousValue) {
    PortStream stream(port);
    LineSettings& settings = *stream.line();
    const std::vector<RefusedCase> cases = {
        {"baud", 12345, 'N', 8, 1},
        {"parity", 9600, 'n', 8, 1},
        {"data bits", 9600, 'N', 9, 1},
        {"stop bits", 9600, 'N', 8, 3},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(settings.setBaud(c.baud), 9600);
        EXPECT_EQ(settings.setParity(c.parity), 'N');
        EXPECT_EQ(settings.setDataBits(c.dataBits), 8);
        EXPECT_EQ(settings.setStopBits(c.stopBits), 1);
        EXPECT_EQ(deviceSpeed(), B9600);
    }
    int flags = 0;
    EXPECT_NE(stream.takeError(flags), 0);
    EXPECT_EQ(settings.setBaud(2400), 2400);
    EXPECT_EQ(deviceSpeed(), B2400);
}

struct EndingCase {
    int ending;
    std::string wire;
    int count;
};

TEST_F(PortStreamTest, WriteTextAddsTheAskedEnding) {
    PortStream stream(port);
    const std::vector<EndingCase> cases = {
        {kEndCrLf, "ab\r\n", 4}, {kEndLf, "ab\n", 3}, {kEndNone, "ab", 2},
        {'!', "ab!", 3},         {256, "", 0},        {-4, "", 0},
    };
    for (const EndingCase& c : cases) {
        SCOPED_TRACE(c.ending);
        EXPECT_EQ(stream.writeText("ab", c.ending), c.count);
        EXPECT_EQ(line.far().receive(c.wire.size(), 1000), c.wire);
    }
    EXPECT_EQ(stream.printf("%d-%s", 7, "x"), 3);
    EXPECT_EQ(line.far().receive(3, 1000), "7-x");
    EXPECT_EQ(line.far().receive(1, 20), "");
}

TEST_F(PortStreamTest, ReadUntilStopsAfterTheTerminatorAndReadExactlyAfterTheCount) {
    PortStream stream(port);
    line.far().send("hello\nworld");
    char text[32] = {};
    EXPECT_EQ(stream.readUntil(text, 20, '\n', 1000), 6);
    EXPECT_STREQ(text, "hello\n");
    std::uint8_t bytes[8] = {};
    EXPECT_EQ(stream.readExactly(bytes, 5, 1000), 5);
    EXPECT_EQ(test::bytesOf(bytes, 5), "world");
    EXPECT_EQ(bytes[5], 0);
}

TEST_F(PortStreamTest, DumpShowsPortLineAndFlow) {
    PortStream stream(port);
    stream.flow()->set(LINE_RTS, LINE_CTS);
    std::vector<std::string> lines;
    stream.dump([&](const std::string& text) { lines.push_back(text); });
    ASSERT_EQ(lines.size(), 1u + 6u + 2u + 3u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[7], "Old Port - Baud:  19200    Parity: N    Data: 8    Stop: 1    ");
    EXPECT_EQ(lines[8], "New Port - Baud:   9600    Parity: N    Data: 8    Stop: 1    ");
    EXPECT_EQ(lines[9],
              "Old Flow IN: NONE     OUT: NONE      New Flow IN: RTS      OUT: CTS       ");
    EXPECT_EQ(lines[10], "DTR: 1  RTS: 1  OE: 0  PE: 0  FE: 0  BD: 0  OV: 0  ");
}

TEST_F(PortStreamTest, FlowControlKeepsTheSwitchedLineStates) {
    PortStream stream(port);
    FlowControl& flow = *stream.flow();
    EXPECT_EQ(flow.setDtr(false), 0);
    EXPECT_EQ(flow.dtr(), 0);
    EXPECT_EQ(flow.setRts(false), 0);
    EXPECT_EQ(flow.rts(), 0);
    EXPECT_EQ(flow.cts(), LINE_NOT_AVAILABLE);
    EXPECT_EQ(flow.timedBreak(1), 0);
    EXPECT_EQ(flow.breakState(), 0);
}

}  // namespace
}  // namespace q93::serial
