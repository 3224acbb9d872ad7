#include "serial/posix_comm_port.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "serial/device_path.h"
#include "serial/port_error.h"
#include "serial/port_use_counts.h"

namespace q93::serial {
namespace {

// Device majors of the pseudo-terminal slaves under /dev/pts.
constexpr unsigned kFirstPtySlaveMajor = 136;
constexpr unsigned kLastPtySlaveMajor = 143;

}  // namespace

PosixCommPort::PosixCommPort(int index, int rxSize, int txSize)
    : portIndex_(index), rxQueueSize_(rxSize & 0xFFFF), txQueueSize_(txSize & 0xFFFF) {
    if (portUseCount(portIndex_) != 0) {
        refuse(CL_ERR_INUSE);
    } else if (openDevice() == 0) {
        openedDevice_ = true;
        incrementPortUse(portIndex_);
        // The driver sizes its own queues; the queue sizes stay the limits the library
        // reports and writes against.
        termios tio{};
        if (tcgetattr(fd_, &tio) != 0) {
            storeError(failSystemCall());
        } else {
            readDeviceControl(tio, dcb_);
            configureDefaults();
        }
    }
    // The defaults leave RTS off; both lines are raised after them, as they always were.
    dcb_.fDtrControl = kControlEnable;
    setModemLine(TIOCM_DTR, true);
    dcb_.fRtsControl = kControlEnable;
    setModemLine(TIOCM_RTS, true);
}

PosixCommPort::~PosixCommPort() {
    if (openedDevice_ && portUseCount(portIndex_) == 1)
        closeDevice();
    if (fd_ >= 0)
        ::close(fd_);  // never leave a descriptor behind, whatever the counter says
    if (openedDevice_)
        decrementPortUse(portIndex_);
}

// The XON/XOFF switches and the RTS/CTS handshake stay as the terminal had them until
// settings are applied.
void PosixCommPort::configureDefaults() {
    DeviceControl next = dcb_;
    next.BaudRate = 19200;
    next.ByteSize = 8;
    next.Parity = kParityNone;
    next.StopBits = kOneStopBit;
    next.fOutxCtsFlow = 0;
    next.fOutxDsrFlow = 0;
    next.fDtrControl = kControlEnable;
    next.fRtsControl = kControlDisable;
    next.fBinary = 1;
    next.fNull = 0;
    next.EofChar = 0x00;
    next.EvtChar = 0x00;
    next.XonChar = 0x11;
    next.XoffChar = 0x13;
    next.XonLim = static_cast<std::uint16_t>(rxQueueSize_ / 4);
    next.XoffLim = 128;
    if (const int failed = commit(next); failed != 0)
        storeError(failed);
}

int PosixCommPort::openDevice() {
    if (!isCountedPortIndex(portIndex_))
        return refuse(CL_ERR_DEVICE);
    const std::string path = devicePathForPort(portIndex_);
    const int opened = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (opened < 0)
        return storeError(failSystemCall());
    // The port is not shared: further opens of the terminal get EBUSY until it is closed.
    ioctl(opened, TIOCEXCL);
    fd_ = opened;
    return 0;
}

void PosixCommPort::closeDevice() {
    tcflush(fd_, TCIFLUSH);
    tcflush(fd_, TCOFLUSH);
    setModemLine(TIOCM_DTR, false);
    setModemLine(TIOCM_RTS, false);
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

// 0, or the code of the failure (not stored); the record changes only when the terminal
// took it.
int PosixCommPort::commit(const DeviceControl& next) {
    termios tio{};
    if (tcgetattr(fd_, &tio) != 0)
        return failSystemCall();
    if (const int refused = applyDeviceControl(next, tio); refused != 0) {
        systemError_ = 0;
        return refused;
    }
    if (tcsetattr(fd_, TCSANOW, &tio) != 0 && !framingIgnoredByPseudoTerminal(tio))
        return failSystemCall();
    dcb_ = next;
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
    const bool ignored = error == EINVAL && fstat(fd_, &device) == 0 && S_ISCHR(device.st_mode) &&
                         major(device.st_rdev) >= kFirstPtySlaveMajor &&
                         major(device.st_rdev) <= kLastPtySlaveMajor &&
                         tcgetattr(fd_, &taken) == 0 && differsOnlyInFraming(wanted, taken);
    errno = error;
    return ignored;
}

// Enabled and disabled control lines follow the record when it is written; a line under
// handshake is the driver's.
void PosixCommPort::driveOutputLines() {
    if (dcb_.fDtrControl != kControlHandshake)
        setModemLine(TIOCM_DTR, dcb_.fDtrControl == kControlEnable);
    if (dcb_.fRtsControl != kControlHandshake)
        setModemLine(TIOCM_RTS, dcb_.fRtsControl == kControlEnable);
}

// Pseudo-terminals and some adapters have no modem lines; switching them then changes only
// the record.
bool PosixCommPort::setModemLine(int bit, bool on) {
    return ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bit) == 0;
}

int PosixCommPort::refuse(int code) {
    systemError_ = 0;
    return storeError(code);
}

int PosixCommPort::failSystemCall() {
    systemError_ = errno;
    return errorForErrno(systemError_);
}

}  // namespace q93::serial
