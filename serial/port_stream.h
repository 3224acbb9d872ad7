#pragma once

#include <cstdint>
#include <memory>

#include "serial/comm_port.h"

namespace q93::serial {

class LineSettings;
class FlowControl;

// Bits of takeError's flags: the line errors seen since the last look.
inline constexpr int kStreamParityError = 0x01;
inline constexpr int kStreamFramingError = 0x02;
inline constexpr int kStreamRxOverflow = 0x04;
inline constexpr int kStreamOverrun = 0x08;
inline constexpr int kStreamBreakSeen = 0x10;

// Line endings of writeText.
inline constexpr int kEndCrLf = -3;
inline constexpr int kEndLf = -2;
inline constexpr int kEndNone = -1;

// A character stream with time-outs on top of a port it does not own. On a healthy port it
// sets 9600 baud, 8N1 and no flow control, keeping what the port held before in its own
// companions, which put those values back when the stream is destroyed.
class PortStream {
public:
    explicit PortStream(CommPort& port);
    virtual ~PortStream();
    PortStream(const PortStream&) = delete;
    PortStream& operator=(const PortStream&) = delete;

    // One character within timeoutMs (0: one attempt), or CL_ERR_NODATA, or a negative
    // result of the port's idle hook.
    virtual int getChar(int timeoutMs);
    virtual int putChar(int c);
    virtual int extension();

    // The port's most recent stored failure since the previous take, or 0 with flags
    // holding the line errors seen.
    int takeError(int& flags);
    int rxCount();
    int txCount();
    int flushInput() { return port_->flush(0, 0); }
    int flushOutput() { return port_->flush(1, 0); }
    void setCharDelay(int ms) { charDelayMs = ms; }
    int setQueueSizes(int rxSize, int xoffLimit, int txSize) {
        return port_->setQueueSizes(rxSize, xoffLimit, txSize);
    }
    int extensionOne() { return port_->extensionOne(); }
    int extensionTwo() { return port_->extensionTwo(); }

    // Reads until the terminator (-1: none) was stored, max characters were stored or
    // timeoutMs passed; buffer must hold max + 1 for the closing 0.
    int readUntil(char* buffer, int max, int terminator, int timeoutMs);
    // Reads until count bytes arrived or timeoutMs passed; buffer must hold count + 1.
    int readExactly(std::uint8_t* buffer, int count, int timeoutMs);
    // Writes text and, when all of it was taken, the ending (kEndCrLf, kEndLf, kEndNone or
    // one character); an ending outside -3..255 writes nothing.
    int writeText(const char* text, int ending);
    int printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void dump(const DumpOutput& output);

    CommPort& port() const { return *port_; }
    LineSettings* line() const { return line_.get(); }
    FlowControl* flow() const { return flow_.get(); }

private:
    int idleFor(int ms);

    std::int32_t charDelayMs = 0;
    CommPort* port_;
    std::unique_ptr<FlowControl> flow_;
    std::unique_ptr<LineSettings> line_;
};

}  // namespace q93::serial
