#include "serial/comm_records.h"

#include "serial/comm_errors.h"

namespace q93::serial {

const std::array<int, 16> kLineStatusLayout = {
    LINE_DTR,         LINE_RTS,         LINE_BREAK,       LINE_DSR,
    LINE_CTS,         LINE_RI,          LINE_DCD,         LINE_DELTA_DCD,
    LINE_TRAILING_RI, LINE_DELTA_CTS,   LINE_DELTA_DSR,   LINE_BREAK_SEEN,
    LINE_PARITY_ERR,  LINE_FRAMING_ERR, LINE_RX_OVERFLOW, LINE_OVERRUN,
};

int lineStatusPosition(int line) {
    for (int position = 0; position < static_cast<int>(kLineStatusLayout.size()); ++position) {
        if (kLineStatusLayout[position] == line)
            return position;
    }
    return -1;
}

}  // namespace q93::serial
