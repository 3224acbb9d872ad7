#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "base/frame_log.h"
#include "link/serial_link.h"
#include "protocol/frame_codec.h"
#include "serial/port_error.h"
#include "serial/port_settings.h"
#include "serial/port_use_counts.h"
#include "serial/posix_comm_port.h"
#include "tests/support/mapped_line.h"

namespace q93 {
namespace {

using test::MappedLine;

struct LoggedFrame {
    std::string bytes;
    int direction;
};

class FrameRecorder : public FrameLogger {
public:
    FrameRecorder() { installFrameLogger(this); }
    ~FrameRecorder() override { installFrameLogger(nullptr); }
    void logFrame(const std::uint8_t* bytes, int length, int direction) override {
        frames.push_back({test::bytesOf(bytes, length), direction});
    }
    std::vector<LoggedFrame> frames;
};

class SerialLinkTest : public ::testing::Test {
protected:
    // A link set up the way a connection sets it up, with the settings lines in the INI.
    std::unique_ptr<SerialLink> makeLink(const std::string& settings = "") {
        line.writeIni(settings);
        auto link = std::make_unique<SerialLink>();
        link->portName = line.portName();
        link->baudRate = 9600;
        return link;
    }

    speed_t deviceSpeed() const {
        const termios device = line.deviceSettings();
        return cfgetospeed(&device);
    }

    std::string receiveOne(SerialLink& link, int& result) {
        std::uint8_t buffer[kSerialFrameCapacity] = {};
        int length = -1;
        result = link.receiveFrame(buffer, length);
        return result == 0 ? test::bytesOf(buffer, length) : std::string();
    }

    MappedLine line;
    FrameRecorder log;
};

TEST_F(SerialLinkTest, OpenConfiguresTheLineAndCloseLeavesTheLibraryDefaults) {
    auto link = makeLink("DataBits=7\nParity=even\n");
    ASSERT_EQ(link->open(), 0);
    EXPECT_EQ(deviceSpeed(), B9600);
    // A pseudo-terminal always reports eight data bits and no parity, so the character
    // format is read back from the port.
    EXPECT_EQ(link->commPort()->settings(), (serial::PortSettings{9600, 'E', 7, 1}));
    EXPECT_EQ(link->commPort()->deviceControl().ByteSize, 7);
    EXPECT_EQ(link->commPort()->deviceControl().Parity, serial::kParityEven);

    link->close();
    EXPECT_FALSE(link->isOpen());
    EXPECT_EQ(deviceSpeed(), B19200);
    EXPECT_EQ(line.deviceSettings().c_cflag & (CRTSCTS | CSTOPB), 0u);
    EXPECT_EQ(serial::portUseCount(line.portIndex()), 0);
}

struct HandshakeCase {
    const char* handshake;
    tcflag_t cflag;
    tcflag_t iflag;
    int inbound;
    int outbound;
};

TEST_F(SerialLinkTest, HandshakeReachesTheTerminalAndIsTakenBackOnClose) {
    const std::vector<HandshakeCase> cases = {
        {"RTS/CTS", CRTSCTS, 0, serial::LINE_RTS, serial::LINE_CTS},
        {"Xon/Xoff", 0, IXON | IXOFF, serial::FLOW_XONXOFF, serial::FLOW_XONXOFF},
        {"rts/cts", 0, 0, serial::FLOW_NONE, serial::FLOW_NONE},
        {"none", 0, 0, serial::FLOW_NONE, serial::FLOW_NONE},
    };
    for (const HandshakeCase& c : cases) {
        SCOPED_TRACE(c.handshake);
        auto link = makeLink(std::string("Handshake=") + c.handshake + "\n");
        ASSERT_EQ(link->open(), 0);
        const termios open = line.deviceSettings();
        EXPECT_EQ(open.c_cflag & CRTSCTS, c.cflag);
        EXPECT_EQ(open.c_iflag & (IXON | IXOFF), c.iflag);
        EXPECT_EQ(link->commPort()->settings().inboundFlow, c.inbound);
        EXPECT_EQ(link->commPort()->settings().outboundFlow, c.outbound);
        link->close();
        const termios closed = line.deviceSettings();
        EXPECT_EQ(closed.c_cflag & CRTSCTS, 0u);
        EXPECT_EQ(closed.c_iflag & (IXON | IXOFF), 0u);
    }
}

TEST_F(SerialLinkTest, XonXoffUsesTheLibraryCharactersAndLimits) {
    auto link = makeLink("Handshake=Xon/Xoff\n");
    ASSERT_EQ(link->open(), 0);
    const serial::DeviceControl& dcb = link->commPort()->deviceControl();
    EXPECT_EQ(dcb.XonChar, 0x11);
    EXPECT_EQ(dcb.XoffChar, 0x13);
    EXPECT_EQ(dcb.XonLim, 1024);
    EXPECT_EQ(dcb.XoffLim, 128);
    EXPECT_EQ(line.deviceSettings().c_cc[VSTART], 0x11);
    EXPECT_EQ(line.deviceSettings().c_cc[VSTOP], 0x13);
}

TEST_F(SerialLinkTest, RefusedSettingsFailTheOpenAndReleaseEverything) {
    for (const char* settings : {"DataBits=9\n", "StopBits=3\n", "DataBits=x\n"}) {
        SCOPED_TRACE(settings);
        auto link = makeLink(settings);
        EXPECT_EQ(link->open(), -1);
        EXPECT_FALSE(link->isOpen());
        EXPECT_EQ(link->commPort(), nullptr);
        EXPECT_EQ(serial::portUseCount(line.portIndex()), 0);
        EXPECT_EQ(deviceSpeed(), B19200);

        // The cause removed, the same link opens.
        link->dataBits = 8;
        link->stopBits = 1;
        EXPECT_EQ(link->open(), 0);
    }
}

struct FailureCase {
    const char* what;
    std::string settings;
    std::string ports;  // more [Ports] lines
    std::string port;   // "" for the mapped line
    std::int32_t baud;
    bool held;
    OpenStage stage;
    int code;
    int systemError;
};

// What a user is told about a failed open is made of these: the stage, the library's code
// and the system's errno.
TEST_F(SerialLinkTest, AFailedOpenKeepsWhereItStoppedAndWhatThePortSaid) {
    const std::vector<FailureCase> cases = {
        {"held", "", "", "", 9600, true, OpenStage::Device, serial::CL_ERR_INUSE, 0},
        {"missing device", "", "COM7=/nonexistent/q93-port\n", "COM7", 9600, false,
         OpenStage::Device, serial::CL_ERR_DEVICE, ENOENT},
        {"data bits", "DataBits=9\n", "", "", 9600, false, OpenStage::LineSettings,
         serial::CL_ERR_DATABITS, 0},
        {"baud", "", "", "", 12345, false, OpenStage::LineSettings, serial::CL_ERR_BAUD, 0},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto holder = makeLink();
        if (c.held) {
            ASSERT_EQ(holder->open(), 0);
        }
        line.writeIni(c.settings, c.ports);
        SerialLink link;
        link.portName = c.port.empty() ? line.portName() : c.port;
        link.baudRate = c.baud;
        EXPECT_EQ(link.open(), -1);
        EXPECT_EQ(link.openFailure().stage, c.stage);
        EXPECT_EQ(link.openFailure().code, c.code);
        EXPECT_EQ(link.openFailure().systemError, c.systemError);
    }
}

TEST_F(SerialLinkTest, PortsThatCannotBeHadFailTheOpen) {
    auto link = makeLink();
    line.writeIni("", "COM16=/nonexistent/q93-port\nCOM101=/nonexistent/q93-port\n");
    for (const char* name : {"COM16", "TCP/IP", "com5"}) {
        link->portName = name;
        EXPECT_EQ(link->open(), -1) << name;
        EXPECT_FALSE(link->isOpen());
    }
}

TEST_F(SerialLinkTest, AHeldPortFailsASecondLinkAndAnOpenLinkStaysAsItIs) {
    auto first = makeLink();
    ASSERT_EQ(first->open(), 0);
    auto second = makeLink();
    EXPECT_EQ(second->open(), -1);
    EXPECT_EQ(first->open(), -1);
    EXPECT_TRUE(first->isOpen());

    const std::uint8_t frame[] = {0xFE, 0x01, 0xFF};
    EXPECT_EQ(first->sendFrame(frame, 3), 0);
    EXPECT_EQ(line.far().receive(3, 1000), test::bytesOf(frame, 3));
}

TEST_F(SerialLinkTest, AFrameSentArrivesByteForByteAndIsLogged) {
    auto link = makeLink();
    ASSERT_EQ(link->open(), 0);
    FrameCodec codec;
    codec.buildFrame("2d,04,4d,49,fe,ff,fd,00");
    const std::string wire = test::bytesOf(codec.wireFrame(), codec.wireLength());

    EXPECT_EQ(link->sendFrame(codec.wireFrame(), codec.wireLength()), 0);
    EXPECT_EQ(line.far().receive(wire.size(), 1000), wire);
    EXPECT_EQ(line.far().receive(1, 20), "");
    ASSERT_EQ(log.frames.size(), 1u);
    EXPECT_EQ(log.frames[0].bytes, wire);
    EXPECT_EQ(log.frames[0].direction, kFrameSent);
}

TEST_F(SerialLinkTest, SendOnAClosedLinkFailsAndLogsNothing) {
    auto link = makeLink();
    const std::uint8_t frame[] = {0xFE, 0x00, 0xFF};
    EXPECT_EQ(link->sendFrame(frame, 3), -1);
    ASSERT_EQ(link->open(), 0);
    link->close();
    EXPECT_EQ(link->sendFrame(frame, 3), -1);
    EXPECT_TRUE(log.frames.empty());
    EXPECT_EQ(line.far().receive(1, 50), "");
}

struct ReceiveCase {
    const char* what;
    std::string arriving;
    std::vector<std::string> frames;  // one per receiveFrame; "" for a -1
};

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

TEST_F(SerialLinkTest, ReceiveCutsFramesOutOfWhatArrives) {
    const std::string noStart(800, '\x41');
    const std::string noEnd = "\xFE" + std::string(799, '\x42');
    const std::vector<ReceiveCase> cases = {
        {"garbage and repeated start bytes",
         bytes({0x00, 0x41, 0xFE, 0xFE, 0x01, 0x02, 0xFF}),
         {bytes({0xFE, 0x01, 0x02, 0xFF})}},
        {"start and end byte only", bytes({0xFE, 0xFE, 0xFF}), {bytes({0xFE, 0xFF})}},
        {"two frames back to back",
         bytes({0xFE, 0x01, 0xFF, 0xFE, 0x02, 0xFF}),
         {bytes({0xFE, 0x01, 0xFF}), bytes({0xFE, 0x02, 0xFF})}},
        {"765 characters without a start byte end the hunt",
         std::string(765, '\x41') + bytes({0xFE, 0x03, 0xFF}),
         {"", bytes({0xFE, 0x03, 0xFF})}},
        {"764 characters before a start byte are passed over",
         std::string(764, '\x41') + bytes({0xFE, 0x04, 0xFF}),
         {bytes({0xFE, 0x04, 0xFF})}},
        {"800 without a start byte", noStart, {""}},
        {"800 without an end byte", noEnd, {noEnd.substr(0, 765)}},
    };
    for (const ReceiveCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto link = makeLink();
        ASSERT_EQ(link->open(), 0);
        log.frames.clear();
        line.far().send(c.arriving);
        std::size_t logged = 0;
        for (const std::string& expected : c.frames) {
            int result = 0;
            EXPECT_EQ(receiveOne(*link, result), expected);
            EXPECT_EQ(result, expected.empty() ? -1 : 0);
            if (!expected.empty()) {
                ASSERT_GT(log.frames.size(), logged);
                EXPECT_EQ(log.frames[logged].bytes, expected);
                EXPECT_EQ(log.frames[logged].direction, kFrameReceived);
                ++logged;
            }
        }
        EXPECT_EQ(log.frames.size(), logged);
    }
}

TEST_F(SerialLinkTest, DiscardPendingDropsWhatArrivedBeforeIt) {
    auto link = makeLink();
    ASSERT_EQ(link->open(), 0);
    line.far().send(bytes({0xFE, 0x01, 0xFF}));
    for (int tries = 0; tries < 100 && link->commPort()->bytesWaiting() < 3; ++tries)
        link->commPort()->waitForInput(10);
    ASSERT_EQ(link->commPort()->bytesWaiting(), 3);
    link->discardPending();
    line.far().send(bytes({0xFE, 0x02, 0xFF}));
    int result = -1;
    EXPECT_EQ(receiveOne(*link, result), bytes({0xFE, 0x02, 0xFF}));
    EXPECT_EQ(result, 0);
}

TEST_F(SerialLinkTest, ASilentLineEndsTheWaitAfterTheIdleBudget) {
    auto link = makeLink();
    ASSERT_EQ(link->open(), 0);
    const auto start = std::chrono::steady_clock::now();
    int result = 0;
    EXPECT_EQ(receiveOne(*link, result), "");
    EXPECT_EQ(result, -1);
    // 500 empty polls of 5 ms each.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2400));
    EXPECT_TRUE(log.frames.empty());
}

}  // namespace
}  // namespace q93
