#include <sys/ioctl.h>

#include "serial/comm_errors.h"
#include "serial/posix_comm_port.h"

namespace q93::serial {
namespace {

struct InputLineRow {
    int line;
    std::uint8_t mask;
};

constexpr InputLineRow kInputLines[] = {
    {LINE_CTS, kModemCts},
    {LINE_DSR, kModemDsr},
    {LINE_RI, kModemRing},
    {LINE_DCD, kModemCarrier},
};

struct ErrorLineRow {
    int line;
    std::uint32_t bit;
};

constexpr ErrorLineRow kErrorLines[] = {
    {LINE_OVERRUN, kErrOverrun},        {LINE_PARITY_ERR, kErrParity},
    {LINE_FRAMING_ERR, kErrFraming},    {LINE_BREAK_SEEN, kErrBreak},
    {LINE_RX_OVERFLOW, kErrRxOverflow},
};

bool isChangeLine(int line) {
    return line == LINE_DELTA_CTS || line == LINE_DELTA_DSR || line == LINE_TRAILING_RI ||
           line == LINE_DELTA_DCD;
}

}  // namespace

// Pseudo-terminals and some adapters have no modem lines; callers then see "not available"
// for the inputs, and switching the outputs changes only the library's own state.
bool PosixCommPort::setModemLine(int bit, bool on) {
    return ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bit) == 0;
}

bool PosixCommPort::readModemLines(std::uint8_t& status) {
    int bits = 0;
    if (ioctl(fd, TIOCMGET, &bits) != 0)
        return false;
    status = 0;
    if (bits & TIOCM_CTS)
        status |= kModemCts;
    if (bits & TIOCM_DSR)
        status |= kModemDsr;
    if (bits & TIOCM_RI)
        status |= kModemRing;
    if (bits & TIOCM_CD)
        status |= kModemCarrier;
    return true;
}

int PosixCommPort::refreshModemStatus() {
    collectLineErrors();
    modemStatusAvailable = readModemLines(modemStatus);
    return modemStatusAvailable ? 0 : -1;
}

int PosixCommPort::modemBit(int mask) {
    if (mask == 1)
        return dtrState;
    if (mask == 2)
        return rtsState;
    std::uint8_t status = 0;
    return readModemLines(status) && (status & mask) != 0 ? 1 : 0;
}

int PosixCommPort::breakControl(int state) {
    if (state < 0)
        return breakState;
    if (ioctl(fd, state == 1 ? TIOCSBRK : TIOCCBRK) != 0)
        return storeError(CL_ERR_BREAK);
    breakState = static_cast<std::uint16_t>(state);
    return state;
}

int PosixCommPort::lineControl(int line, int value) {
    if (line == LINE_DTR && value != -1) {
        dtrState = value != 0;
        dcb.fDtrControl = dtrState ? kControlEnable : kControlDisable;
        setModemLine(TIOCM_DTR, dtrState != 0);
    } else if (line == LINE_RTS && value != -1) {
        rtsState = value != 0;
        dcb.fRtsControl = rtsState ? kControlEnable : kControlDisable;
        setModemLine(TIOCM_RTS, rtsState != 0);
    }
    if (line == LINE_BREAK)
        return breakControl(value);
    if (line == LINE_DTR)
        return dtrState;
    if (line == LINE_RTS)
        return rtsState;
    for (const InputLineRow& row : kInputLines) {
        std::uint8_t status = 0;
        if (row.line == line)
            return readModemLines(status) ? modemBit(row.mask) : LINE_NOT_AVAILABLE;
    }
    if (isChangeLine(line))
        return LINE_OFF;
    for (const ErrorLineRow& row : kErrorLines) {
        if (row.line == line)
            return (lineErrors & row.bit) != 0 ? LINE_ON : LINE_OFF;
    }
    return LINE_NOT_AVAILABLE;
}

LineStatus PosixCommPort::getLineStatus(LineStatus& record) {
    refreshModemStatus();
    for (int position = 0; position < static_cast<int>(kLineStatusLayout.size()); ++position) {
        record.setField(position, lineControl(kLineStatusLayout[position], -1));
    }
    modemStatus = 0;
    lineErrors = 0;
    return record;
}

}  // namespace q93::serial
