#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/ini_file.h"
#include "base/ini_writer.h"
#include "cli/command_words.h"
#include "cli/serial_ports.h"
#include "link/port_table.h"

namespace q93::ctl {
namespace {

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

const char* kindOf(mode_t mode) {
    if (S_ISREG(mode))
        return "a regular file";
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a pipe";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISBLK(mode))
        return "a block device";
    return "no device";
}

// Why a device text cannot be a port's mapping, or empty when it can. A path that does not
// exist passes: an unplugged adapter's by-id name is a sound mapping.
std::string refusal(const std::string& device) {
    if (std::any_of(device.begin(), device.end(), isControl)) {
        return "the device holds a control character, which would break the INI file's lines";
    }
    struct stat info {};
    if (::stat(device.c_str(), &info) != 0 || S_ISCHR(info.st_mode))
        return "";
    return "'" + device + "' is " + kindOf(info.st_mode) +
           ", not a character device: give a serial device such as /dev/ttyUSB0 "
           "(q93ctl ports lists them)";
}

}  // namespace

int runMapPortCommand(const Arguments& args) {
    if (args.size() != 2)
        return usageError("map-port takes COMn and a device");
    const std::string& name = args[0];
    const int index = portIndexForName(name);
    if (index == kUnknownPortIndex || name != "COM" + std::to_string(index + 1))
        return usageError("map-port takes COM1..COM" + std::to_string(kComPortCount));
    if (const std::string why = refusal(args[1]); !why.empty())
        return usageError(why);
    const std::string device = preferStableName(args[1]);
    struct stat info {};
    if (::stat(device.c_str(), &info) != 0) {
        std::fprintf(stderr, "q93ctl: warning: '%s' does not exist now (%s); mapped all the same\n",
                     device.c_str(), std::strerror(errno));
    }
    std::string error;
    if (!writeProfileString(programIniPath(), "Ports", name, device, &error))
        return failure(error);
    std::printf("%s=%s\n", name.c_str(), device.c_str());
    return kExitSuccess;
}

}  // namespace q93::ctl
