#pragma once

#include <cstdint>

#include "serial/port_settings.h"

namespace q93::serial {

enum class Queue { Input, Output };

// A serial port as the library's users see it: its settings, applied whole, and the bytes
// through it. Every operation a port must have is pure virtual; a failure is returned as a
// PortError and, where noted, also stored until taken.
class CommPort {
public:
    virtual ~CommPort() = default;
    CommPort(const CommPort&) = delete;
    CommPort& operator=(const CommPort&) = delete;

    virtual PortSettings settings() const = 0;
    // Checks parity, data bits, stop bits and the flow modes, then writes everything to the
    // device at once, where a baud rate the device lacks is refused; 0, or the code of the
    // first value refused (stored), the port then keeping the settings it had.
    virtual int apply(const PortSettings& wanted) = 0;
    // Bytes received and not yet read.
    virtual int bytesWaiting() = 0;
    // One received byte, or CL_ERR_NODATA at once when none is queued.
    virtual int readChar() = 0;
    // The number of bytes the device took; fewer than length stores CL_ERR_SHORTWRITE.
    virtual int write(const std::uint8_t* buffer, int length) = 0;
    // Drops what the queue holds; 0 or a code.
    virtual int flush(Queue queue) = 0;
    // Waits up to timeoutMs for a received byte; true when one is waiting.
    virtual bool waitForInput(int timeoutMs) = 0;

    // One byte within timeoutMs (0: one attempt), or CL_ERR_NODATA.
    int getChar(int timeoutMs);
    // The code of the most recent stored failure since the previous take, or 0; clears it.
    int takeLastError();
    int getLastError() const { return lastError_; }

protected:
    CommPort() = default;
    // Failures stick until taken: a later success must not hide an earlier failure from a
    // caller that only looks at the end of a sequence.
    int storeError(int code) {
        lastError_ = code;
        return code;
    }

private:
    int lastError_ = 0;
};

}  // namespace q93::serial
