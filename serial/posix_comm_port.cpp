#include "serial/posix_comm_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>

#include "serial/comm_errors.h"
#include "serial/device_path.h"
#include "serial/legacy_errors.h"
#include "serial/port_use_counts.h"

namespace q93::serial {
namespace {

// Device majors of the pseudo-terminal slaves under /dev/pts.
constexpr unsigned kFirstPtySlaveMajor = 136;
constexpr unsigned kLastPtySlaveMajor = 143;

}  // namespace

PosixCommPort::PosixCommPort(int index, int rxSize, int txSize, int attach) {
    if (attach != 0)
        return;
    lastError = 0;
    rxQueueSize = rxSize & 0xFFFF;
    txQueueSize = txSize & 0xFFFF;
    portIndex = index;
    inFlow = FLOW_NONE;
    outFlow = FLOW_NONE;
    dtrState = 1;
    rtsState = 1;
    breakState = 0;
    initialise(index);
    lineControl(LINE_DTR, 1);
    lineControl(LINE_RTS, 1);
}

PosixCommPort::~PosixCommPort() {
    if (openedDevice && portUseCount(portIndex) == 1)
        closeDevice();
    if (fd >= 0)
        ::close(fd);  // never leave a descriptor behind, whatever the counter says
    if (openedDevice)
        decrementPortUse(portIndex);
}

int PosixCommPort::initialise(int index) {
    portIndex = index;
    if (portUseCount(portIndex) != 0)
        return storeError(CL_ERR_INUSE);
    const int opened = openDevice();
    if (opened != 0)
        return opened;
    openedDevice = true;
    incrementPortUse(portIndex);
    // The driver sizes its own queues; rxQueueSize and txQueueSize stay as the limits the
    // library reports and writes against.
    savedEventMask = eventMask;
    eventMask = 0;
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        failSystemCall();
        return storeTranslated();
    }
    readDeviceControl(tio, dcb);
    savedTimeouts = {tio.c_cc[VMIN], tio.c_cc[VTIME]};
    configureDefaults();
    if (commitDeviceControl() != 0)
        return storeTranslated();
    return 0;
}

void PosixCommPort::configureDefaults() {
    dcb.BaudRate = 19200;
    dcb.ByteSize = 8;
    dcb.Parity = kParityNone;
    dcb.StopBits = kOneStopBit;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDtrControl = kControlEnable;
    dcb.fRtsControl = kControlDisable;
    dcb.fBinary = 1;
    dcb.fNull = 0;
    dcb.EofChar = 0x00;
    dcb.EvtChar = 0x00;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    dcb.XonLim = static_cast<std::uint16_t>(rxQueueSize / 4);
    dcb.XoffLim = 128;
}

int PosixCommPort::openDevice() {
    if (fd >= 0)
        return 0;
    if (!isCountedPortIndex(portIndex)) {
        failPlatform(kLegacyBadId);
        return storeTranslated();
    }
    const std::string path = devicePathForPort(portIndex);
    const int opened = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (opened < 0) {
        failSystemCall();
        return storeTranslated();
    }
    // The port is not shared: further opens of the terminal get EBUSY until closeDevice.
    ioctl(opened, TIOCEXCL);
    fd = opened;
    return 0;
}

int PosixCommPort::closeDevice() {
    tcflush(fd, TCIFLUSH);
    tcflush(fd, TCOFLUSH);
    setModemLine(TIOCM_DTR, false);
    setModemLine(TIOCM_RTS, false);
    ioctl(fd, TIOCNXCL);
    const int closed = ::close(fd);
    fd = -1;
    return closed == 0 ? 0 : storeError(CL_ERR_CLOSE);
}

int PosixCommPort::commitDeviceControl() {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return failSystemCall();
    const int refused = applyDeviceControl(dcb, tio);
    if (refused != kLegacyNone)
        return failPlatform(refused);
    if (tcsetattr(fd, TCSANOW, &tio) != 0 && !framingIgnoredByPseudoTerminal(tio)) {
        return failSystemCall();
    }
    driveOutputLines();
    return 0;
}

// The C library reports a character size or parity the terminal did not keep as a failure.
// A pseudo-terminal keeps neither, having no line to frame, but takes everything else; that
// is no refusal, just as its missing modem lines are none.
bool PosixCommPort::framingIgnoredByPseudoTerminal(const termios& wanted) {
    const int error = errno;
    struct stat device {};
    termios taken{};
    const bool ignored = error == EINVAL && fstat(fd, &device) == 0 && S_ISCHR(device.st_mode) &&
                         major(device.st_rdev) >= kFirstPtySlaveMajor &&
                         major(device.st_rdev) <= kLastPtySlaveMajor &&
                         tcgetattr(fd, &taken) == 0 && differsOnlyInFraming(wanted, taken);
    errno = error;
    return ignored;
}

// Enabled and disabled control lines follow the record when it is written; a line under
// handshake is the driver's.
void PosixCommPort::driveOutputLines() {
    if (dcb.fDtrControl != kControlHandshake) {
        setModemLine(TIOCM_DTR, dcb.fDtrControl == kControlEnable);
    }
    if (dcb.fRtsControl != kControlHandshake) {
        setModemLine(TIOCM_RTS, dcb.fRtsControl == kControlEnable);
    }
}

int PosixCommPort::failPlatform(int legacy) {
    platformError = legacy;
    systemError = 0;
    return -1;
}

int PosixCommPort::failSystemCall() {
    const int error = errno;
    failPlatform(legacyCodeForErrno(error));
    systemError = error;
    return -1;
}

int PosixCommPort::storeTranslated() {
    return storeError(translateLastError());
}

int PosixCommPort::translateLastError() {
    return libraryCodeForLegacy(platformError);
}

int PosixCommPort::idle() {
    std::this_thread::yield();
    return 0;
}

bool PosixCommPort::waitForInput(int timeoutMs) {
    pollfd watched{fd, POLLIN, 0};
    return ::poll(&watched, 1, timeoutMs) > 0 && (watched.revents & POLLIN) != 0;
}

}  // namespace q93::serial
