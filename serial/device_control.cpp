#include "serial/device_control.h"

#include "serial/port_error.h"

namespace q93::serial {
namespace {

struct SpeedRow {
    std::uint32_t baud;
    speed_t speed;
};

// The record holds rates below 65536 only, so the table ends there.
constexpr SpeedRow kSpeedTable[] = {
    {50, B50},     {75, B75},       {110, B110},     {134, B134},     {150, B150},   {200, B200},
    {300, B300},   {600, B600},     {1200, B1200},   {1800, B1800},   {2400, B2400}, {4800, B4800},
    {9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600},
};

struct SizeRow {
    std::uint8_t byteSize;
    tcflag_t flag;
};

constexpr SizeRow kSizeTable[] = {{5, CS5}, {6, CS6}, {7, CS7}, {8, CS8}};

struct ParityRow {
    std::uint8_t parity;
    tcflag_t flags;
};

constexpr tcflag_t kParityFlags = PARENB | PARODD | CMSPAR;

constexpr ParityRow kParityTable[] = {
    {kParityNone, 0},
    {kParityOdd, PARENB | PARODD},
    {kParityEven, PARENB},
    {kParityMark, PARENB | PARODD | CMSPAR},
    {kParitySpace, PARENB | CMSPAR},
};

const SpeedRow* speedRowForBaud(std::uint32_t baud) {
    for (const SpeedRow& row : kSpeedTable) {
        if (row.baud == baud)
            return &row;
    }
    return nullptr;
}

const SizeRow* sizeRowForByteSize(std::uint8_t byteSize) {
    for (const SizeRow& row : kSizeTable) {
        if (row.byteSize == byteSize)
            return &row;
    }
    return nullptr;
}

const ParityRow* parityRowForParity(std::uint8_t parity) {
    for (const ParityRow& row : kParityTable) {
        if (row.parity == parity)
            return &row;
    }
    return nullptr;
}

// One and a half stop bits exist only with five data bits, two only with more; a UART
// gives one and a half when asked for two on a five-bit character.
bool stopBitsFlag(const DeviceControl& dcb, tcflag_t& flag) {
    const bool fiveBits = dcb.ByteSize == 5;
    switch (dcb.StopBits) {
        case kOneStopBit:
            flag = 0;
            return true;
        case kOne5StopBits:
            flag = CSTOPB;
            return fiveBits;
        case kTwoStopBits:
            flag = CSTOPB;
            return !fiveBits;
        default:
            return false;
    }
}

void makeRaw(termios& tio) {
    tio.c_iflag &=
        ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~(CSIZE | kParityFlags | CSTOPB | CRTSCTS);
    // No modem line may hold up opening or reading; reads return at once with what is queued.
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
}

}  // namespace

void readDeviceControl(const termios& tio, DeviceControl& dcb) {
    const speed_t speed = cfgetospeed(&tio);
    for (const SpeedRow& row : kSpeedTable) {
        if (row.speed == speed)
            dcb.BaudRate = row.baud;
    }
    for (const SizeRow& row : kSizeTable) {
        if ((tio.c_cflag & CSIZE) == row.flag)
            dcb.ByteSize = row.byteSize;
    }
    for (const ParityRow& row : kParityTable) {
        if ((tio.c_cflag & kParityFlags) == row.flags)
            dcb.Parity = row.parity;
    }
    if ((tio.c_cflag & CSTOPB) == 0) {
        dcb.StopBits = kOneStopBit;
    } else {
        dcb.StopBits = dcb.ByteSize == 5 ? kOne5StopBits : kTwoStopBits;
    }
    dcb.fParity = (tio.c_iflag & INPCK) != 0;
    dcb.fOutX = (tio.c_iflag & IXON) != 0;
    dcb.fInX = (tio.c_iflag & IXOFF) != 0;
    dcb.fOutxCtsFlow = (tio.c_cflag & CRTSCTS) != 0;
    if (dcb.fOutxCtsFlow)
        dcb.fRtsControl = kControlHandshake;
    dcb.XonChar = tio.c_cc[VSTART];
    dcb.XoffChar = tio.c_cc[VSTOP];
}

int applyDeviceControl(const DeviceControl& dcb, termios& tio) {
    const SpeedRow* speed = speedRowForBaud(dcb.BaudRate);
    if (speed == nullptr)
        return CL_ERR_BAUD;
    const SizeRow* size = sizeRowForByteSize(dcb.ByteSize);
    if (size == nullptr)
        return CL_ERR_DATABITS;
    const ParityRow* parity = parityRowForParity(dcb.Parity);
    tcflag_t stop = 0;
    if (parity == nullptr || !stopBitsFlag(dcb, stop))
        return CL_ERR_FAIL;

    termios next = tio;
    makeRaw(next);
    next.c_cflag |= size->flag | parity->flags | stop;
    if (dcb.fParity)
        next.c_iflag |= INPCK;
    if (dcb.fOutX)
        next.c_iflag |= IXON;
    if (dcb.fInX)
        next.c_iflag |= IXOFF;
    // The terminal has one switch for both directions of the RTS/CTS handshake.
    if (dcb.fOutxCtsFlow || dcb.fRtsControl == kControlHandshake)
        next.c_cflag |= CRTSCTS;
    next.c_cc[VSTART] = dcb.XonChar;
    next.c_cc[VSTOP] = dcb.XoffChar;
    cfsetispeed(&next, speed->speed);
    cfsetospeed(&next, speed->speed);
    tio = next;
    return 0;
}

bool differsOnlyInFraming(const termios& wanted, const termios& taken) {
    constexpr tcflag_t kFraming = CSIZE | kParityFlags;
    return wanted.c_iflag == taken.c_iflag && wanted.c_oflag == taken.c_oflag &&
           wanted.c_lflag == taken.c_lflag &&
           (wanted.c_cflag & ~kFraming) == (taken.c_cflag & ~kFraming) &&
           cfgetospeed(&wanted) == cfgetospeed(&taken);
}

}  // namespace q93::serial
