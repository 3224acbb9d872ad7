#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>

#include "serial/comm_errors.h"
#include "serial/legacy_errors.h"
#include "serial/posix_comm_port.h"

namespace q93::serial {
namespace {

struct ParityRow {
    char character;
    std::uint8_t value;
};

// Upper case only: 'n' is not a parity.
constexpr ParityRow kParityTable[] = {
    {'N', kParityNone}, {'O', kParityOdd},   {'E', kParityEven},
    {'M', kParityMark}, {'S', kParitySpace},
};

const ParityRow* parityRowForCharacter(char character) {
    for (const ParityRow& row : kParityTable) {
        if (row.character == character)
            return &row;
    }
    return nullptr;
}

}  // namespace

int PosixCommPort::setQueueSizes(int rxSize, int xoffLimit, int txSize) {
    tcflush(fd, TCIOFLUSH);
    if (rxSize != 0)
        rxQueueSize = rxSize & 0xFFFF;
    if (txSize != 0)
        txQueueSize = txSize & 0xFFFF;
    dcb.XonLim = static_cast<std::uint16_t>(rxSize / 4);
    if (xoffLimit != 0)
        dcb.XoffLim = static_cast<std::uint16_t>(xoffLimit);
    tcflush(fd, TCIOFLUSH);
    return commitDeviceControl() == 0 ? 0 : storeTranslated();
}

// The terminal knows no DTR or DSR handshake: those two modes are refused like the DSR
// inbound mode always was, before anything is written to the device.
int PosixCommPort::setFlowControl(int inbound, int outbound) {
    dcb.fInX = 0;
    dcb.fOutX = 0;
    if (dcb.fRtsControl == kControlHandshake)
        dcb.fRtsControl = kControlEnable;
    if (dcb.fDtrControl == kControlHandshake)
        dcb.fDtrControl = kControlEnable;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;

    switch (inbound) {
        case FLOW_NONE:
            break;
        case FLOW_XONXOFF:
            dcb.fInX = 1;
            break;
        case LINE_RTS:
            dcb.fRtsControl = kControlHandshake;
            break;
        case LINE_DTR:
        case LINE_DSR:
            return storeError(CL_ERR_UNSUPPORTED);
        default:
            storeError(CL_ERR_INFLOW);
            return CL_ERR_FAIL;
    }
    switch (outbound) {
        case FLOW_NONE:
            break;
        case FLOW_XONXOFF:
            dcb.fOutX = 1;
            break;
        case LINE_CTS:
            dcb.fOutxCtsFlow = 1;
            break;
        case LINE_DSR:
        case LINE_DCD:
            return storeError(CL_ERR_UNSUPPORTED);
        default:
            return storeError(CL_ERR_OUTFLOW);
    }
    if (commitDeviceControl() != 0)
        return storeTranslated();
    inFlow = inbound;
    outFlow = outbound;
    return 0;
}

int PosixCommPort::getFlowControl(int& inbound, int& outbound) {
    inbound = inFlow;
    outbound = outFlow;
    return 0;
}

int PosixCommPort::setLineSettings(std::int32_t baud, char parity, int dataBits, int stopBits) {
    const ParityRow* row = parityRowForCharacter(parity);
    if (row == nullptr)
        return storeError(CL_ERR_PARITY);
    dcb.Parity = row->value;
    // The record holds 16 bits of rate, as it always did.
    dcb.BaudRate = static_cast<std::uint32_t>(baud) & 0xFFFF;
    if (!dataBitsSupported(dataBits))
        return storeError(CL_ERR_DATABITS);
    dcb.ByteSize = static_cast<std::uint8_t>(dataBits);
    if (!stopBitsSupported(stopBits))
        return storeError(CL_ERR_STOPBITS);
    if (dataBits == 5) {
        dcb.StopBits = kOne5StopBits;
    } else {
        dcb.StopBits = stopBits == 1 ? kOneStopBit : kTwoStopBits;
    }
    return commitDeviceControl() == 0 ? 0 : storeTranslated();
}

void PosixCommPort::getLineSettings(std::int32_t& baud, char& parity, int& dataBits,
                                    int& stopBits) {
    baud = static_cast<std::int32_t>(dcb.BaudRate);
    parity = '?';
    for (const ParityRow& row : kParityTable) {
        if (row.value == dcb.Parity)
            parity = row.character;
    }
    dataBits = dcb.ByteSize;
    stopBits = dcb.StopBits == kTwoStopBits ? 2 : 1;
}

int PosixCommPort::setEventChar(int c) {
    dcb.EvtChar = static_cast<std::uint8_t>(c);
    return commitDeviceControl();
}

int PosixCommPort::getEventMask(std::uint32_t& mask) {
    mask = eventMask;
    return 0;
}

int PosixCommPort::setEventMask(std::uint32_t mask) {
    eventMask = mask;
    return 0;
}

int PosixCommPort::waitEvent(std::uint32_t& mask) {
    const std::uint32_t watched = eventMask & (kEventRxChar | kEventTxEmpty);
    if (watched == 0) {
        failPlatform(kLegacyOther);
        return translateLastError();
    }
    for (;;) {
        mask = 0;
        if ((watched & kEventRxChar) && bytesWaiting(FIONREAD) > 0)
            mask |= kEventRxChar;
        if ((watched & kEventTxEmpty) && bytesWaiting(TIOCOUTQ) == 0)
            mask |= kEventTxEmpty;
        if (mask != 0)
            return 0;
        pollfd device{fd, POLLIN, 0};
        if (::poll(&device, 1, 10) < 0 || (device.revents & (POLLERR | POLLNVAL)) != 0) {
            failPlatform(kLegacyHardware);
            return translateLastError();
        }
    }
}

}  // namespace q93::serial
