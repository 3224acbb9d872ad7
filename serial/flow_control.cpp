#include "serial/flow_control.h"

#include <chrono>
#include <cstdio>

#include "serial/port_stream.h"

namespace q93::serial {
namespace {

struct ModeLabel {
    int mode;
    const char* label;
};

constexpr ModeLabel kInboundLabels[] = {
    {FLOW_XONXOFF, "XONXOFF"}, {LINE_DTR, "DTR    "}, {LINE_RTS, "RTS    "}};

constexpr ModeLabel kOutboundLabels[] = {{FLOW_XONXOFF, "XONXOFF"},
                                         {LINE_CTS, "CTS    "},
                                         {LINE_DSR, "DSR    "},
                                         {LINE_RI, "RI     "},
                                         {LINE_DCD, "DCD    "}};

template <std::size_t N>
const char* labelFor(const ModeLabel (&labels)[N], int mode) {
    for (const ModeLabel& row : labels) {
        if (row.mode == mode)
            return row.label;
    }
    return "NONE   ";
}

}  // namespace

FlowControl::FlowControl(PortStream& stream) : port_(&stream.port()) {
    refreshStatus();
    port_->getFlowControl(savedInbound_, savedOutbound_);
    inbound_ = savedInbound_;
    outbound_ = savedOutbound_;
}

FlowControl::~FlowControl() {
    restore();
}

int FlowControl::set(int inbound, int outbound) {
    inbound_ = inbound;
    outbound_ = outbound;
    if (port_ == nullptr)
        return CL_ERR_FAIL;
    return port_->setFlowControl(inbound, outbound);
}

int FlowControl::get(int& inbound, int& outbound) {
    if (port_ == nullptr)
        return CL_ERR_FAIL;
    port_->getFlowControl(inbound_, outbound_);
    inbound = inbound_;
    outbound = outbound_;
    return 0;
}

int FlowControl::restore() {
    return set(savedInbound_, savedOutbound_);
}

const LineStatus& FlowControl::refreshStatus() {
    if (port_ != nullptr)
        port_->getLineStatus(status_);
    return status_;
}

int FlowControl::lineState(int line) const {
    const int position = lineStatusPosition(line);
    return position < 0 ? LINE_NOT_AVAILABLE : status_.field(position);
}

int FlowControl::switchLine(int line, int value) {
    if (port_ == nullptr)
        return CL_ERR_FAIL;
    const int state = port_->lineControl(line, value);
    if (state >= 0)
        status_.setField(lineStatusPosition(line), state);
    return state;
}

int FlowControl::timedBreak(int ms) {
    const int started = setBreak(true);
    if (started < 0)
        return started;
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(ms)) {
        const int idle = port_->idle();
        if (idle < 0)
            return idle;
    }
    return setBreak(false);
}

void FlowControl::dump(const DumpOutput& output) {
    char line[200];
    std::snprintf(line, sizeof line, "Old Flow IN: %7s  OUT: %7s   New Flow IN: %7s  OUT: %7s   ",
                  labelFor(kInboundLabels, savedInbound_),
                  labelFor(kOutboundLabels, savedOutbound_), labelFor(kInboundLabels, inbound_),
                  labelFor(kOutboundLabels, outbound_));
    output(line);
    refreshStatus();
    const auto bit = [this](int line) { return lineState(line) != 0 ? '1' : '0'; };
    std::snprintf(line, sizeof line, "DTR: %c  RTS: %c  OE: %c  PE: %c  FE: %c  BD: %c  OV: %c  ",
                  bit(LINE_DTR), bit(LINE_RTS), bit(LINE_OVERRUN), bit(LINE_PARITY_ERR),
                  bit(LINE_FRAMING_ERR), bit(LINE_BREAK_SEEN), bit(LINE_RX_OVERFLOW));
    output(line);
    std::snprintf(line, sizeof line,
                  "DSR: %c  CTS: %c  RI: %c  CD: %c  DDSR: %c  DCTS: %c  DRI: %c  DCD: %c  ",
                  bit(LINE_DSR), bit(LINE_CTS), bit(LINE_RI), bit(LINE_DCD), bit(LINE_DELTA_DSR),
                  bit(LINE_DELTA_CTS), bit(LINE_TRAILING_RI), bit(LINE_DELTA_DCD));
    output(line);
}

}  // namespace q93::serial
