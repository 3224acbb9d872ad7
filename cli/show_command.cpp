#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/ctl_command.h"
#include "protocol/parameter_fields.h"
#include "protocol/parameter_files.h"

namespace q93::ctl {

int runShowCommand(const Arguments& args) {
    if (args.size() != 1) return usageError("show takes one file");
    const std::string& path = args[0];
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) return failure("cannot read '" + path + "': " + error.message());

    std::string text;
    if (size == kPresetBlockSize) {
        PresetParameters preset;
        if (readPresetFile(path, preset) != static_cast<int>(kPresetBlockSize)) {
            return failure("cannot read '" + path + "'");
        }
        text = describeBlock(&preset, presetFields());
    } else if (size == kDeviceBlockSize) {
        DeviceParameters device;
        if (readDeviceFile(path, device) != static_cast<int>(kDeviceBlockSize)) {
            return failure("cannot read '" + path + "'");
        }
        text = describeBlock(&device, deviceFields());
    } else {
        return failure("'" + path + "' holds " + std::to_string(size) +
                       " bytes: neither a preset file (200 bytes) nor a device file (296 bytes)");
    }
    std::fputs(text.c_str(), stdout);
    return kExitSuccess;
}

}  // namespace q93::ctl
