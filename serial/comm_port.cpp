#include "serial/comm_port.h"

#include <chrono>
#include <thread>

#include "serial/port_error.h"

namespace q93::serial {

int CommPort::getChar(int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        const int c = readChar();
        if (c >= 0)
            return c;
        if (std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(timeoutMs))
            return CL_ERR_NODATA;
        std::this_thread::yield();
    }
}

int CommPort::takeLastError() {
    const int code = lastError_;
    lastError_ = 0;
    return code;
}

}  // namespace q93::serial
