#include "serial/port_error.h"
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

// The line part of the settings onto the record; 0 or the code of the first value refused.
int takeLine(const PortSettings& wanted, DeviceControl& dcb) {
    const ParityRow* row = parityRowForCharacter(wanted.parity);
    if (row == nullptr)
        return CL_ERR_PARITY;
    if (!dataBitsSupported(wanted.dataBits))
        return CL_ERR_DATABITS;
    if (!stopBitsSupported(wanted.stopBits))
        return CL_ERR_STOPBITS;
    dcb.Parity = row->value;
    // The record holds 16 bits of rate, as it always did.
    dcb.BaudRate = static_cast<std::uint32_t>(wanted.baud) & 0xFFFF;
    dcb.ByteSize = static_cast<std::uint8_t>(wanted.dataBits);
    if (wanted.dataBits == 5) {
        dcb.StopBits = kOne5StopBits;
    } else {
        dcb.StopBits = wanted.stopBits == 1 ? kOneStopBit : kTwoStopBits;
    }
    return 0;
}

// The terminal knows no DTR or DSR handshake: those modes are refused as unsupported,
// before anything is written to the device.
int takeFlow(const PortSettings& wanted, DeviceControl& dcb) {
    dcb.fInX = 0;
    dcb.fOutX = 0;
    if (dcb.fRtsControl == kControlHandshake)
        dcb.fRtsControl = kControlEnable;
    if (dcb.fDtrControl == kControlHandshake)
        dcb.fDtrControl = kControlEnable;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;

    switch (wanted.inboundFlow) {
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
            return CL_ERR_UNSUPPORTED;
        default:
            return CL_ERR_INFLOW;
    }
    switch (wanted.outboundFlow) {
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
            return CL_ERR_UNSUPPORTED;
        default:
            return CL_ERR_OUTFLOW;
    }
    return 0;
}

}  // namespace

PortSettings PosixCommPort::settings() const {
    PortSettings current;
    current.baud = static_cast<std::int32_t>(dcb_.BaudRate);
    current.parity = '?';
    for (const ParityRow& row : kParityTable) {
        if (row.value == dcb_.Parity)
            current.parity = row.character;
    }
    current.dataBits = dcb_.ByteSize;
    current.stopBits = dcb_.StopBits == kTwoStopBits ? 2 : 1;
    current.inboundFlow = inFlow_;
    current.outboundFlow = outFlow_;
    return current;
}

int PosixCommPort::apply(const PortSettings& wanted) {
    DeviceControl next = dcb_;
    if (const int refused = takeLine(wanted, next); refused != 0)
        return refuse(refused);
    if (const int refused = takeFlow(wanted, next); refused != 0)
        return refuse(refused);
    if (const int failed = commit(next); failed != 0)
        return storeError(failed);
    inFlow_ = wanted.inboundFlow;
    outFlow_ = wanted.outboundFlow;
    return 0;
}

}  // namespace q93::serial
