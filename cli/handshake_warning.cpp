#include "cli/handshake_warning.h"

#include <cstdio>

namespace q93::ctl {

// Frames are stuffed only for FD to FF, so a 0x11 or 0x13 in a sequence byte, a checksum or
// a float is taken by the driver as flow control and the frame arrives mangled. The setting
// still works as it always has; the user is only told why transfers may fail with it.
void warnOfXonXoff(DeviceConnection& connection) {
    // Once a job: each fleet job used to run in a process of its own, and says it for itself.
    static thread_local bool warned = false;
    const SerialLink* serial = connection.serialLink();
    if (connection.portName == "TCP/IP" || serial == nullptr || serial->handshake != "Xon/Xoff")
        return;
    if (warned)
        return;
    warned = true;
    std::fputs(
        "q93ctl: warning: Handshake=Xon/Xoff mangles frames that contain 0x11 or "
        "0x13; use RTS/CTS or none\n",
        stderr);
}

}  // namespace q93::ctl
