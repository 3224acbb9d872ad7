#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "serial/device_path.h"
#include "serial/port_error.h"
#include "serial/port_use_counts.h"
#include "serial/posix_comm_port.h"
#include "tests/support/mapped_line.h"

namespace q93::serial {
namespace {

using test::MappedLine;

class PosixCommPortTest : public ::testing::Test {
protected:
    std::unique_ptr<PosixCommPort> openPort(int txQueueSize = 2048) {
        return std::make_unique<PosixCommPort>(line.portIndex(), 4096, txQueueSize);
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
    EXPECT_EQ(port->settings(), (PortSettings{19200, 'N', 8, 1, FLOW_NONE, FLOW_NONE}));
    EXPECT_EQ(portUseCount(line.portIndex()), 1);
}

TEST_F(PosixCommPortTest, SecondObjectOnAHeldIndexIsRefusedAndLeavesTheFirstAlone) {
    auto first = openPort();
    ASSERT_EQ(first->takeLastError(), 0);
    {
        PosixCommPort second(line.portIndex(), 4096, 2048);
        EXPECT_EQ(second.takeLastError(), CL_ERR_INUSE);
    }
    EXPECT_EQ(portUseCount(line.portIndex()), 1);
    const std::uint8_t k = 'k';
    EXPECT_EQ(first->write(&k, 1), 1);
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
    PosixCommPort port(6, 4096, 2048);
    EXPECT_EQ(port.takeLastError(), CL_ERR_DEVICE);
    EXPECT_EQ(port.lastSystemError(), ENOENT);
    EXPECT_FALSE(port.isDeviceOpen());
    EXPECT_EQ(portUseCount(6), 0);
}

TEST_F(PosixCommPortTest, AFileThatIsNoTerminalIsRefused) {
    line.writeIni("", "COM8=" + line.iniPath() + "\n");
    PosixCommPort port(7, 4096, 2048);
    EXPECT_EQ(port.takeLastError(), CL_ERR_DEVICE);
}

TEST(DevicePath, UnmappedPortsNameTheSerialDevice) {
    MappedLine line(5);
    EXPECT_EQ(devicePathForPort(4), line.far().slaveName());
    EXPECT_EQ(devicePathForPort(2), "/dev/ttyS2");
}

struct RefusedCase {
    PortSettings wanted;
    int result;
};

// A refused value is named by its code, parity first, and leaves the port as it was.
TEST_F(PosixCommPortTest, RefusedSettingsAreNamedInTheLibraryOrderAndChangeNothing) {
    const std::vector<RefusedCase> cases = {
        {{9600, 'n', 8, 1}, CL_ERR_PARITY},
        {{9600, 'N', 9, 1}, CL_ERR_DATABITS},
        {{9600, 'N', 3, 1}, CL_ERR_DATABITS},
        {{9600, 'N', 8, 3}, CL_ERR_STOPBITS},
        {{9600, 'N', 8, 0}, CL_ERR_STOPBITS},
        {{9600, 'x', 9, 3}, CL_ERR_PARITY},
        {{9600, 'N', 4, 1}, CL_ERR_DATABITS},
        {{12345, 'N', 8, 1}, CL_ERR_BAUD},
        {{115200, 'N', 8, 1}, CL_ERR_BAUD},
        {{-9600, 'N', 8, 1}, CL_ERR_BAUD},
        {{9600, 'N', 8, 1, 2, FLOW_NONE}, CL_ERR_INFLOW},
        {{9600, 'N', 8, 1, FLOW_NONE, 14}, CL_ERR_OUTFLOW},
        // The terminal has no DTR, DSR or DCD handshake.
        {{9600, 'N', 8, 1, LINE_DTR, FLOW_NONE}, CL_ERR_UNSUPPORTED},
        {{9600, 'N', 8, 1, LINE_DSR, FLOW_NONE}, CL_ERR_UNSUPPORTED},
        {{9600, 'N', 8, 1, FLOW_NONE, LINE_DSR}, CL_ERR_UNSUPPORTED},
        {{9600, 'N', 8, 1, FLOW_NONE, LINE_DCD}, CL_ERR_UNSUPPORTED},
    };
    auto port = openPort();
    ASSERT_EQ(port->takeLastError(), 0);
    const PortSettings found = port->settings();
    const termios before = line.deviceSettings();
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.wanted.baud << c.wanted.parity << c.wanted.dataBits << c.wanted.stopBits
                     << " flow " << c.wanted.inboundFlow << "/" << c.wanted.outboundFlow);
        EXPECT_EQ(port->apply(c.wanted), c.result);
        EXPECT_EQ(port->takeLastError(), c.result);
        EXPECT_EQ(port->lastSystemError(), 0);
        EXPECT_EQ(port->settings(), found);
        const termios device = line.deviceSettings();
        EXPECT_EQ(cfgetospeed(&device), B19200);
        EXPECT_EQ(device.c_iflag, before.c_iflag);
        EXPECT_EQ(device.c_cflag, before.c_cflag);
    }
}

TEST_F(PosixCommPortTest, AppliedSettingsReachTheTerminalAndTheFoundOnesPutItBack) {
    auto port = openPort();
    const PortSettings found = port->settings();
    const PortSettings wanted{9600, 'E', 7, 2, FLOW_XONXOFF, FLOW_XONXOFF};
    ASSERT_EQ(port->apply(wanted), 0);
    termios device = line.deviceSettings();
    EXPECT_EQ(cfgetospeed(&device), B9600);
    EXPECT_NE(device.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(device.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
    EXPECT_EQ(device.c_cc[VSTART], 0x11);
    EXPECT_EQ(device.c_cc[VSTOP], 0x13);
    // A pseudo-terminal keeps no character format, so the port's own record answers.
    EXPECT_EQ(port->settings(), wanted);
    EXPECT_EQ(port->deviceControl().Parity, kParityEven);

    ASSERT_EQ(port->apply(found), 0);
    device = line.deviceSettings();
    EXPECT_EQ(cfgetospeed(&device), B19200);
    EXPECT_EQ(device.c_cflag & (CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(device.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_EQ(port->settings(), found);
}

TEST_F(PosixCommPortTest, FiveDataBitsTakeOneAndAHalfStopBits) {
    auto port = openPort();
    ASSERT_EQ(port->apply({9600, 'N', 5, 2}), 0);
    EXPECT_EQ(port->deviceControl().StopBits, kOne5StopBits);
    EXPECT_NE(line.deviceSettings().c_cflag & CSTOPB, 0u);
    EXPECT_EQ(port->settings().stopBits, 1);
}

TEST_F(PosixCommPortTest, RtsCtsHandshakeReachesTheTerminalAndNoneLeavesRtsEnabled) {
    auto port = openPort();
    ASSERT_EQ(port->apply({19200, 'N', 8, 1, LINE_RTS, LINE_CTS}), 0);
    EXPECT_EQ(port->deviceControl().fRtsControl, kControlHandshake);
    EXPECT_EQ(port->deviceControl().fOutxCtsFlow, 1u);
    EXPECT_NE(line.deviceSettings().c_cflag & CRTSCTS, 0u);

    ASSERT_EQ(port->apply({19200, 'N', 8, 1, FLOW_NONE, FLOW_NONE}), 0);
    EXPECT_EQ(port->deviceControl().fRtsControl, kControlEnable);
    EXPECT_EQ(line.deviceSettings().c_cflag & CRTSCTS, 0u);
}

TEST_F(PosixCommPortTest, FlushingTheInputDropsWhatWaits) {
    auto port = openPort();
    line.far().send(std::string(25, 'a'));
    for (int tries = 0; tries < 100 && port->bytesWaiting() < 25; ++tries)
        port->waitForInput(10);
    ASSERT_EQ(port->bytesWaiting(), 25);
    EXPECT_EQ(port->flush(Queue::Input), 0);
    EXPECT_EQ(port->bytesWaiting(), 0);
    EXPECT_EQ(port->readChar(), CL_ERR_NODATA);
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
    EXPECT_EQ(port->getChar(0), CL_ERR_NODATA);
    EXPECT_EQ(port->getChar(1), CL_ERR_NODATA);

    line.far().send("abc");
    EXPECT_EQ(port->getChar(1000), 'a');
    for (int tries = 0; tries < 100 && port->bytesWaiting() < 2; ++tries)
        port->waitForInput(10);
    EXPECT_EQ(port->bytesWaiting(), 2);
    EXPECT_EQ(port->readChar(), 'b');
    EXPECT_EQ(port->readChar(), 'c');
    EXPECT_EQ(port->readChar(), CL_ERR_NODATA);
}

struct ErrnoCase {
    int error;
    int code;
};

TEST(PortError, AnErrnoGivesItsCodeAndTheUserItsText) {
    const std::vector<ErrnoCase> cases = {
        {ENOENT, CL_ERR_DEVICE}, {EACCES, CL_ERR_DEVICE}, {ENOTTY, CL_ERR_DEVICE},
        {EBUSY, CL_ERR_INUSE},   {ENOMEM, CL_ERR_NOMEM},  {EIO, CL_ERR_DEVICE},
        {EINVAL, CL_ERR_FAIL},
    };
    for (const ErrnoCase& c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(errorForErrno(c.error), c.code);
        EXPECT_EQ(errorText(c.code, c.error), std::strerror(c.error));
    }
    EXPECT_EQ(errorText(CL_ERR_BAUD, 0), "code -839");
}

}  // namespace
}  // namespace q93::serial
