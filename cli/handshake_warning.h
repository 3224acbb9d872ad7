#pragma once

#include "protocol/device_connection.h"

namespace q93::ctl {

// Prints a one-line warning on stderr, once per run, when the connection is about to open a
// serial port with the Xon/Xoff handshake of the INI file's "Settings" section.
void warnOfXonXoff(DeviceConnection& connection);

}  // namespace q93::ctl
