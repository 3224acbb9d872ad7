#include <cstdio>
#include <string>

#include "cli/ctl_command.h"

namespace {

using q93::ctl::Arguments;

struct CommandEntry {
    const char* name;
    int (*run)(const Arguments&);
};

constexpr CommandEntry kCommands[] = {
    {"frame", q93::ctl::runFrameCommand},
    {"show", q93::ctl::runShowCommand},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return q93::ctl::usageError("no command given");
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(q93::ctl::usageText(), stdout);
        return q93::ctl::kExitSuccess;
    }
    const Arguments args(argv + 2, argv + argc);
    for (const CommandEntry& entry : kCommands) {
        if (command == entry.name) return entry.run(args);
    }
    return q93::ctl::usageError("unknown command '" + command + "'");
}
