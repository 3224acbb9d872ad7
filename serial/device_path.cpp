#include "serial/device_path.h"

#include "base/ini_file.h"

namespace q93::serial {

std::string devicePathForPort(int portIndex) {
    const std::string key = "COM" + std::to_string(portIndex + 1);
    return readProfileString(programIniPath(), "Ports", key,
                             "/dev/ttyS" + std::to_string(portIndex));
}

}  // namespace q93::serial
