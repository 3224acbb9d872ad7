#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "serial/comm_errors.h"
#include "serial/device_path.h"
#include "serial/port_use_counts.h"
#include "serial/posix_comm_port.h"
#include "tests/support/mapped_line.h"

namespace q93::serial {
namespace {

using test::MappedLine;

class PosixCommPortTest : public ::testing::Test {
protected:
    std::unique_ptr<PosixCommPort> openPort(int txQueueSize = 2048) {
        return std::make_unique<PosixCommPort>(line.portIndex(), 4096, txQueueSize, 0);
    }

    MappedLine line;
};

TEST_F(PosixCommPortTest, OpensTheMappedDeviceRawWithTheLibraryDefaults) {
    auto port = openPort();
    ASSERT_EQ(port->takeLastError(), 0);

    const termios device = line.deviceSettings();
    EXPECT_EQ(cfgetospeed(&device), B19200);
    EXPECT_EQ(device.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(device.c_oflag & OPOST, 0u);
    EXPECT_EQ(device.c_iflag & ICRNL, 0u);
    // The XON/XOFF switches stay as found until flow control is set.
    EXPECT_NE(device.c_iflag & IXON, 0u);
    EXPECT_EQ(port->deviceControl().fOutX, 1u);
    EXPECT_EQ(device.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(device.c_cc[VMIN], 0);
    EXPECT_EQ(device.c_cc[VTIME], 0);
    EXPECT_EQ(port->deviceControl().XonLim, 1024);
    EXPECT_EQ(port->deviceControl().XoffLim, 128);
    EXPECT_EQ(portUseCount(line.portIndex()), 1);
}

TEST_F(PosixCommPortTest, ModemLinesAPseudoTerminalLacksAnswerNotAvailable) {
    auto port = openPort();
    ASSERT_EQ(port->takeLastError(), 0);
    LineStatus status;
    port->getLineStatus(status);

    const std::vector<std::pair<int, int>> expected = {
        {LINE_DTR, LINE_ON},
        {LINE_RTS, LINE_ON},
        {LINE_BREAK, LINE_OFF},
        {LINE_CTS, LINE_NOT_AVAILABLE},
        {LINE_DSR, LINE_NOT_AVAILABLE},
        {LINE_RI, LINE_NOT_AVAILABLE},
        {LINE_DCD, LINE_NOT_AVAILABLE},
        {LINE_DELTA_CTS, LINE_OFF},
        {LINE_OVERRUN, LINE_OFF},
        {LINE_PARITY_ERR, LINE_OFF},
    };
    for (const auto& [id, state] : expected) {
        EXPECT_EQ(status.field(lineStatusPosition(id)), state) << "line " << id;
    }
    EXPECT_EQ(port->lineControl(LINE_DTR, 0), LINE_OFF);
    EXPECT_EQ(port->lineControl(LINE_DTR, -1), LINE_OFF);
    EXPECT_EQ(port->lineControl(99, -1), LINE_NOT_AVAILABLE);
}

TEST_F(PosixCommPortTest, SecondObjectOnAHeldIndexIsRefusedAndLeavesTheFirstAlone) {
    auto first = openPort();
    ASSERT_EQ(first->takeLastError(), 0);
    {
        PosixCommPort second(line.portIndex(), 4096, 2048, 0);
        EXPECT_EQ(second.takeLastError(), CL_ERR_INUSE);
    }
    EXPECT_EQ(portUseCount(line.portIndex()), 1);
    EXPECT_EQ(first->writeChar('k'), 0);
    EXPECT_EQ(line.far().receive(1, 1000), "k");
}

TEST_F(PosixCommPortTest, ClosingReleasesTheIndexForTheNextPort) {
    openPort().reset();
    EXPECT_EQ(portUseCount(line.portIndex()), 0);
    auto again = openPort();
    EXPECT_EQ(again->takeLastError(), 0);
}

TEST_F(PosixCommPortTest, MissingDeviceGivesDeviceErrorAndHoldsNothing) {
    line.writeIni("", "COM7=/nonexistent/q93-port\n");
    PosixCommPort port(6, 4096, 2048, 0);
    EXPECT_EQ(port.takeLastError(), CL_ERR_DEVICE);
    EXPECT_FALSE(port.isDeviceOpen());
    EXPECT_EQ(portUseCount(6), 0);
}

TEST_F(PosixCommPortTest, AFileThatIsNoTerminalIsRefused) {
    line.writeIni("", "COM8=" + line.iniPath() + "\n");
    PosixCommPort port(7, 4096, 2048, 0);
    EXPECT_EQ(port.takeLastError(), CL_ERR_DEVICE);
}

TEST(DevicePath, UnmappedPortsNameTheSerialDevice) {
    MappedLine line(5);
    EXPECT_EQ(devicePathForPort(4), line.far().slaveName());
    EXPECT_EQ(devicePathForPort(2), "/dev/ttyS2");
}

struct LineCase {
    std::int32_t baud;
    char parity;
    int dataBits;
    int stopBits;
    int result;
};

TEST_F(PosixCommPortTest, LineSettingsAreCheckedInTheLibraryOrder) {
    const std::vector<LineCase> cases = {
        {9600, 'n', 8, 1, CL_ERR_PARITY},   {9600, 'N', 9, 1, CL_ERR_DATABITS},
        {9600, 'N', 3, 1, CL_ERR_DATABITS}, {9600, 'N', 8, 3, CL_ERR_STOPBITS},
        {9600, 'N', 8, 0, CL_ERR_STOPBITS}, {9600, 'x', 9, 3, CL_ERR_PARITY},
        {9600, 'N', 4, 1, CL_ERR_DATABITS}, {12345, 'N', 8, 1, CL_ERR_BAUD},
        {115200, 'N', 8, 1, CL_ERR_BAUD},   {-9600, 'N', 8, 1, CL_ERR_BAUD},
    };
    auto port = openPort();
    ASSERT_EQ(port->takeLastError(), 0);
    for (const LineCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.baud << c.parity << c.dataBits << c.stopBits);
        EXPECT_EQ(port->setLineSettings(c.baud, c.parity, c.dataBits, c.stopBits), c.result);
        EXPECT_EQ(port->takeLastError(), c.result);
        const termios device = line.deviceSettings();
        EXPECT_EQ(cfgetospeed(&device), B19200);
    }
}

TEST_F(PosixCommPortTest, AcceptedLineSettingsReachTheTerminal) {
    auto port = openPort();
    ASSERT_EQ(port->setLineSettings(9600, 'E', 7, 2), 0);
    termios device = line.deviceSettings();
    EXPECT_EQ(cfgetospeed(&device), B9600);
    EXPECT_NE(device.c_cflag & CSTOPB, 0u);

    std::int32_t baud = 0;
    char parity = 0;
    int dataBits = 0, stopBits = 0;
    port->getLineSettings(baud, parity, dataBits, stopBits);
    EXPECT_EQ(baud, 9600);
    EXPECT_EQ(parity, 'E');
    EXPECT_EQ(dataBits, 7);
    EXPECT_EQ(stopBits, 2);
}

TEST_F(PosixCommPortTest, FiveDataBitsTakeOneAndAHalfStopBits) {
    auto port = openPort();
    ASSERT_EQ(port->setLineSettings(9600, 'N', 5, 1), 0);
    EXPECT_EQ(port->deviceControl().StopBits, kOne5StopBits);
    EXPECT_NE(line.deviceSettings().c_cflag & CSTOPB, 0u);
    std::int32_t baud = 0;
    char parity = 0;
    int dataBits = 0, stopBits = 0;
    port->getLineSettings(baud, parity, dataBits, stopBits);
    EXPECT_EQ(stopBits, 1);
}

TEST_F(PosixCommPortTest, RtsCtsHandshakeReachesTheTerminalAndNoneLeavesRtsEnabled) {
    auto port = openPort();
    ASSERT_EQ(port->setFlowControl(LINE_RTS, LINE_CTS), 0);
    EXPECT_EQ(port->deviceControl().fRtsControl, kControlHandshake);
    EXPECT_EQ(port->deviceControl().fOutxCtsFlow, 1u);
    EXPECT_NE(line.deviceSettings().c_cflag & CRTSCTS, 0u);

    ASSERT_EQ(port->setFlowControl(FLOW_NONE, FLOW_NONE), 0);
    EXPECT_EQ(port->deviceControl().fRtsControl, kControlEnable);
    EXPECT_EQ(line.deviceSettings().c_cflag & CRTSCTS, 0u);
}

TEST_F(PosixCommPortTest, XonXoffReachesTheTerminalWithItsCharacters) {
    auto port = openPort();
    ASSERT_EQ(port->setFlowControl(FLOW_XONXOFF, FLOW_XONXOFF), 0);
    const termios device = line.deviceSettings();
    EXPECT_EQ(device.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
    EXPECT_EQ(device.c_cc[VSTART], 0x11);
    EXPECT_EQ(device.c_cc[VSTOP], 0x13);
    int inbound = -1, outbound = -1;
    port->getFlowControl(inbound, outbound);
    EXPECT_EQ(inbound, FLOW_XONXOFF);
    EXPECT_EQ(outbound, FLOW_XONXOFF);
}

struct FlowCase {
    int inbound;
    int outbound;
    int result;
    int stored;
};

TEST_F(PosixCommPortTest, InvalidFlowModesAreRefusedWithTheirCodes) {
    const std::vector<FlowCase> cases = {
        {2, FLOW_NONE, CL_ERR_FAIL, CL_ERR_INFLOW},
        {FLOW_NONE, LINE_RI, CL_ERR_OUTFLOW, CL_ERR_OUTFLOW},
        {LINE_DSR, FLOW_NONE, CL_ERR_UNSUPPORTED, CL_ERR_UNSUPPORTED},
        {FLOW_NONE, LINE_DCD, CL_ERR_UNSUPPORTED, CL_ERR_UNSUPPORTED},
        // The terminal has no DTR or DSR handshake.
        {LINE_DTR, FLOW_NONE, CL_ERR_UNSUPPORTED, CL_ERR_UNSUPPORTED},
        {FLOW_NONE, LINE_DSR, CL_ERR_UNSUPPORTED, CL_ERR_UNSUPPORTED},
    };
    auto port = openPort();
    for (const FlowCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.inbound << "/" << c.outbound);
        EXPECT_EQ(port->setFlowControl(c.inbound, c.outbound), c.result);
        EXPECT_EQ(port->takeLastError(), c.stored);
        int inbound = -1, outbound = -1;
        port->getFlowControl(inbound, outbound);
        EXPECT_EQ(inbound, FLOW_NONE);
        EXPECT_EQ(outbound, FLOW_NONE);
    }
}

TEST_F(PosixCommPortTest, CountedFlushReadsAtMostCountCharacters) {
    auto port = openPort();
    line.far().send(std::string(25, 'a'));
    ASSERT_TRUE(port->waitForInput(1000));
    QueueStatus queues;
    for (int tries = 0; tries < 100 && queues.rxWaiting < 25; ++tries) {
        port->waitForInput(10);
        port->getQueueStatus(queues, 0);
    }
    ASSERT_EQ(queues.rxWaiting, 25);

    EXPECT_EQ(port->flush(0, 10), CL_ERR_FAIL);
    port->getQueueStatus(queues, 0);
    EXPECT_EQ(queues.rxWaiting, 15);
    EXPECT_EQ(port->flush(0, 20), 0);
    port->getQueueStatus(queues, 0);
    EXPECT_EQ(queues.rxWaiting, 0);
}

TEST_F(PosixCommPortTest, WriteTakesNoMoreThanTheTransmitQueueHolds) {
    auto port = openPort(40);
    const std::string hundred(100, 'w');
    EXPECT_EQ(port->write(reinterpret_cast<const std::uint8_t*>(hundred.data()), 100), 40);
    EXPECT_EQ(port->takeLastError(), CL_ERR_SHORTWRITE);
    EXPECT_EQ(line.far().receive(40, 1000), std::string(40, 'w'));
    EXPECT_EQ(line.far().receive(1, 20), "");
}

TEST_F(PosixCommPortTest, ReadsReturnAtOnceWithWhatIsQueued) {
    auto port = openPort();
    EXPECT_EQ(port->readChar(), CL_ERR_NODATA);
    std::uint8_t buffer[16] = {};
    EXPECT_EQ(port->read(buffer, 16), 0);

    line.far().send("abc");
    ASSERT_TRUE(port->waitForInput(1000));
    EXPECT_EQ(port->readChar(), 'a');
    QueueStatus queues;
    for (int tries = 0; tries < 100 && queues.rxWaiting < 2; ++tries) {
        port->waitForInput(10);
        port->getQueueStatus(queues, 0);
    }
    EXPECT_EQ(port->read(buffer, 16), 2);
    EXPECT_EQ(test::bytesOf(buffer, 2), "bc");
}

TEST_F(PosixCommPortTest, DumpNamesThisPortTypeAndTheRecord) {
    auto port = openPort();
    std::vector<std::string> lines;
    port->dumpSettings([&](const std::string& text) { lines.push_back(text); });
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Port type: POSIX termios  BaudRate: 19200   ByteSize: 8  Parity: 0");
    EXPECT_EQ(lines[3], "Null: 0  XonChar: 11  XoffChar: 13");
    EXPECT_EQ(lines[4], "XonLim: 1024  XoffLim: 128   EofChr: 00  EvtChr: 00");
    EXPECT_EQ(lines[5],
              "RX sz/ct:  4096/0      TX sz/ct:  2048/0      BLOCK SENT:0  BLOCK RECEIVED:0");
}

TEST_F(PosixCommPortTest, BreakStateIsKeptAndReported) {
    auto port = openPort();
    EXPECT_EQ(port->breakControl(1), 1);
    EXPECT_EQ(port->lineControl(LINE_BREAK, -1), 1);
    EXPECT_EQ(port->breakControl(0), 0);
    EXPECT_EQ(port->breakControl(-1), 0);
}

}  // namespace
}  // namespace q93::serial
