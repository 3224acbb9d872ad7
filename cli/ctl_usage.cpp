#include <cstdio>

#include "cli/ctl_command.h"

namespace q93::ctl {

const char* usageText() {
    return "usage: q93ctl COMMAND [ARGS]\n"
           "commands:\n"
           "  frame [--seq N] TEXT   print the wire frame of command TEXT with sequence byte N\n"
           "                         (default 0): upper-case hex pairs separated by one blank\n"
           "  show FILE              print a preset (200 B) or device (296 B) file as\n"
           "                         name=value lines\n"
           "  --help                 this text\n"
           "exit status: 0 success; 1 failure, with the message on stderr; 2 usage error\n";
}

int usageError(const std::string& message) {
    std::fprintf(stderr, "q93ctl: %s\n(q93ctl --help lists the commands)\n", message.c_str());
    return kExitUsage;
}

int failure(const std::string& message) {
    std::fprintf(stderr, "q93ctl: %s\n", message.c_str());
    return kExitFailure;
}

}  // namespace q93::ctl
