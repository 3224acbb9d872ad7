#pragma once

#include <string>
#include <vector>

#include "cli/ctl_seam.h"
#include "link/serial_settings.h"
#include "protocol/device_connection.h"

namespace q93::ctl {

// Why the connection's serial port would not open, for the lines after the design's
// "Can't open" message: the device and the system's reason with its fix, or each setting of
// the INI file that the port refused with the values it takes, and where the INI file is.
// Empty when the connection did not fail to open a serial port.
std::vector<std::string> serialOpenCause(const DeviceConnection& connection);

// "DataBits=9 in [Settings] of FILE is refused: the port takes 4 to 8", or for a value that
// is not refused, what it is read as and what to write instead.
std::string settingFindingText(const SettingFinding& finding, const std::string& ini);

// exitStatus for a procedure run on `connection`; when its serial port would not open, the
// cause follows the procedure's message on stderr.
int transferExitStatus(int result, const CtlSeam& seam, const DeviceConnection& connection,
                       const std::string& what);

}  // namespace q93::ctl
