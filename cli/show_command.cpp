#include <cstdio>

#include "cli/ctl_command.h"
#include "store/stored_blocks.h"
#include "protocol/parameter_fields.h"

namespace q93::ctl {

int runShowCommand(const Arguments& args) {
    if (args.size() != 1)
        return usageError("show takes one file");
    BlockFile file;
    std::string error;
    if (!readBlockFile(args[0], file, &error))
        return failure(error);
    const std::string text = file.isPreset ? describeBlock(&file.preset, presetFields())
                                           : describeBlock(&file.device, deviceFields());
    std::fputs(text.c_str(), stdout);
    return kExitSuccess;
}

}  // namespace q93::ctl
