#include "serial/comm_port.h"

#include <cstdio>
#include <cstdlib>

#include "base/user_seam.h"
#include "serial/comm_errors.h"

namespace q93::serial {

int CommPort::extensionOne() {
    return CL_ERR_UNSUPPORTED;
}

int CommPort::extensionTwo() {
    return CL_ERR_UNSUPPORTED;
}

int CommPort::takeLastError() {
    const int code = lastError;
    lastError = 0;
    return code;
}

void CommPort::abstractSlot(const char* file, int line) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "Library Error\n\nPure Virtual function called @%s,%d\nUnable to continue "
                  "execution",
                  file, line);
    showWarning(text);
    std::exit(1);
}

}  // namespace q93::serial
