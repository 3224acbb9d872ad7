#pragma once

#include <string>

// The serial port library's one error vocabulary. Operations return 0 (or a count) for
// success and one of these negative codes for failure; nothing is thrown. A failing system
// call is given the code its errno stands for, and the errno itself is kept beside the code
// for the user's message.

namespace q93::serial {

enum PortError : int {
    CL_ERR_FAIL = -801,         // general failure
    CL_ERR_NODATA = -802,       // no character available / time-out
    CL_ERR_UNSUPPORTED = -803,  // not supported by this implementation
    CL_ERR_SHORTWRITE = -805,   // the device took fewer bytes than asked
    CL_ERR_DEVICE = -828,       // no such device, or the device failed
    CL_ERR_INFLOW = -830,       // invalid inbound flow-control mode
    CL_ERR_OUTFLOW = -832,      // invalid outbound flow-control mode
    CL_ERR_NOMEM = -836,        // the system had no memory for the port
    CL_ERR_INUSE = -838,        // the port is held by another port object or process
    CL_ERR_BAUD = -839,         // baud rate the device cannot do
    CL_ERR_PARITY = -840,       // parity character not in the parity table
    CL_ERR_STOPBITS = -841,     // stop bits not 1 or 2
    CL_ERR_DATABITS = -842,     // data bits outside 4..8
};

// The code for a system call that failed with `error`.
PortError errorForErrno(int error);

// What the port said, for a user: the system's text when a system call failed (systemError
// is its errno), otherwise "code N" for the library's own refusal.
std::string errorText(int code, int systemError);

}  // namespace q93::serial
