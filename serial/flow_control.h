#pragma once

#include "serial/comm_errors.h"
#include "serial/comm_port.h"
#include "serial/comm_records.h"

namespace q93::serial {

class PortStream;

// A port's flow-control modes together with the modes found when it was created, which
// restore (and destruction) put back; also the port's modem and error lines as last read.
class FlowControl {
public:
    explicit FlowControl(PortStream& stream);
    ~FlowControl();
    FlowControl(const FlowControl&) = delete;
    FlowControl& operator=(const FlowControl&) = delete;

    int set(int inbound, int outbound);
    int get(int& inbound, int& outbound);
    int restore();

    const LineStatus& refreshStatus();
    const LineStatus& status() const { return status_; }
    int lineState(int line) const;
    int dtr() const { return lineState(LINE_DTR); }
    int rts() const { return lineState(LINE_RTS); }
    int breakState() const { return lineState(LINE_BREAK); }
    int dsr() const { return lineState(LINE_DSR); }
    int cts() const { return lineState(LINE_CTS); }
    int ring() const { return lineState(LINE_RI); }
    int carrier() const { return lineState(LINE_DCD); }
    int carrierChanged() const { return lineState(LINE_DELTA_DCD); }
    int ringEnded() const { return lineState(LINE_TRAILING_RI); }
    int ctsChanged() const { return lineState(LINE_DELTA_CTS); }
    int dsrChanged() const { return lineState(LINE_DELTA_DSR); }
    int breakSeen() const { return lineState(LINE_BREAK_SEEN); }
    int parityError() const { return lineState(LINE_PARITY_ERR); }
    int framingError() const { return lineState(LINE_FRAMING_ERR); }
    int rxOverflow() const { return lineState(LINE_RX_OVERFLOW); }
    int overrun() const { return lineState(LINE_OVERRUN); }

    int setDtr(bool on) { return switchLine(LINE_DTR, on ? 1 : 0); }
    int setRts(bool on) { return switchLine(LINE_RTS, on ? 1 : 0); }
    int setBreak(bool on) { return switchLine(LINE_BREAK, on ? 1 : 0); }
    // Sends a break for ms milliseconds.
    int timedBreak(int ms);
    void dump(const DumpOutput& output);

    int inbound() const { return inbound_; }
    int outbound() const { return outbound_; }
    int savedInbound() const { return savedInbound_; }
    int savedOutbound() const { return savedOutbound_; }

private:
    int switchLine(int line, int value);

    int savedInbound_ = FLOW_NONE;
    int savedOutbound_ = FLOW_NONE;
    int inbound_ = FLOW_NONE;
    int outbound_ = FLOW_NONE;
    LineStatus status_;
    CommPort* port_;
};

}  // namespace q93::serial
