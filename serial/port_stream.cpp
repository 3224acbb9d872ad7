#include "serial/port_stream.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "serial/comm_errors.h"
#include "serial/flow_control.h"
#include "serial/line_settings.h"

namespace q93::serial {
namespace {

using Clock = std::chrono::steady_clock;

bool passed(Clock::time_point since, int ms) {
    return Clock::now() - since >= std::chrono::milliseconds(ms);
}

}  // namespace

PortStream::PortStream(CommPort& port) : port_(&port) {
    if (port.getLastError() != 0)
        return;
    line_ = std::make_unique<LineSettings>(this);
    line_->init(9600, 'N', 8, 1);
    flow_ = std::make_unique<FlowControl>(*this);
    port.setFlowControl(FLOW_NONE, FLOW_NONE);
}

// Flow control first, then the line, each putting back what it found.
PortStream::~PortStream() {
    flow_.reset();
    line_.reset();
}

int PortStream::getChar(int timeoutMs) {
    const Clock::time_point start = Clock::now();
    for (;;) {
        const int c = port_->readChar();
        if (c >= 0)
            return c;
        if (passed(start, timeoutMs))
            return CL_ERR_NODATA;
        const int idle = port_->idle();
        if (idle < 0)
            return idle;
    }
}

// A failed write wins over the pause after it, so a caller never takes a byte the port
// refused for sent.
int PortStream::putChar(int c) {
    const int written = port_->writeChar(c);
    if (charDelayMs == 0)
        return written;
    const int idle = idleFor(charDelayMs);
    return written != 0 ? written : idle;
}

int PortStream::extension() {
    return CL_ERR_UNSUPPORTED;
}

int PortStream::idleFor(int ms) {
    const Clock::time_point start = Clock::now();
    int idle = 0;
    while (!passed(start, ms)) {
        idle = port_->idle();
        if (idle < 0)
            return idle;
    }
    return idle;
}

int PortStream::takeError(int& flags) {
    flags = 0;
    const int code = port_->takeLastError();
    if (code != 0 || !flow_)
        return code;
    flow_->refreshStatus();
    if (flow_->parityError())
        flags |= kStreamParityError;
    if (flow_->framingError())
        flags |= kStreamFramingError;
    if (flow_->rxOverflow())
        flags |= kStreamRxOverflow;
    if (flow_->overrun())
        flags |= kStreamOverrun;
    if (flow_->breakSeen())
        flags |= kStreamBreakSeen;
    return 0;
}

int PortStream::rxCount() {
    QueueStatus queues;
    port_->getQueueStatus(queues, 0);
    return queues.rxWaiting;
}

int PortStream::txCount() {
    QueueStatus queues;
    port_->getQueueStatus(queues, 0);
    return queues.txWaiting;
}

int PortStream::readUntil(char* buffer, int max, int terminator, int timeoutMs) {
    const Clock::time_point start = Clock::now();
    int stored = 0;
    while (stored < max) {
        const int c = getChar(0);
        if (c >= 0) {
            buffer[stored++] = static_cast<char>(c);
            if (c == terminator)
                break;
        } else if (passed(start, timeoutMs) || port_->idle() < 0) {
            break;
        }
    }
    buffer[stored] = 0;
    return stored;
}

int PortStream::readExactly(std::uint8_t* buffer, int count, int timeoutMs) {
    const Clock::time_point start = Clock::now();
    int got = 0;
    while (got < count) {
        got += port_->read(buffer + got, count - got);
        if (got >= count || passed(start, timeoutMs) || port_->idle() < 0)
            break;
    }
    buffer[got] = 0;
    return got;
}

int PortStream::writeText(const char* text, int ending) {
    if (ending < kEndCrLf || ending > 255)
        return 0;
    if (text == nullptr)
        text = "";
    int count = port_->writeString(text);
    if (count != static_cast<int>(std::strlen(text)))
        return count;
    const auto put = [&](int c) {
        if (putChar(c) == 0)
            ++count;
    };
    if (ending == kEndCrLf) {
        put('\r');
        put('\n');
    } else if (ending == kEndLf) {
        put('\n');
    } else if (ending != kEndNone) {
        put(ending);
    }
    return count;
}

int PortStream::printf(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (length < 0)
        return CL_ERR_FAIL;
    return writeText(text, kEndNone);
}

void PortStream::dump(const DumpOutput& output) {
    output("");
    port_->dumpSettings(output);
    if (line_)
        line_->dump(output);
    if (flow_)
        flow_->dump(output);
}

}  // namespace q93::serial
