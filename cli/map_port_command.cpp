#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/ini_file.h"
#include "base/ini_writer.h"
#include "cli/command_words.h"
#include "cli/serial_ports.h"
#include "link/port_table.h"

namespace q93::ctl {

int runMapPortCommand(const Arguments& args) {
    if (args.size() != 2)
        return usageError("map-port takes COMn and a device");
    const std::string& name = args[0];
    const int index = portIndexForName(name);
    if (index == kUnknownPortIndex || name != "COM" + std::to_string(index + 1))
        return usageError("map-port takes COM1..COM" + std::to_string(kComPortCount));
    const std::string device = preferStableName(args[1]);
    std::error_code code;
    if (!std::filesystem::exists(device, code))
        std::fprintf(stderr, "q93ctl: note: '%s' does not exist now\n", device.c_str());
    std::string error;
    if (!writeProfileString(programIniPath(), "Ports", name, device, &error))
        return failure(error);
    std::printf("%s=%s\n", name.c_str(), device.c_str());
    return kExitSuccess;
}

}  // namespace q93::ctl
