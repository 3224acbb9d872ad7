#pragma once

#include <optional>
#include <string>

#include "cli/ctl_command.h"
#include "cli/ctl_seam.h"

namespace q93::ctl {

// The words of one command: positional values and "--name VALUE" options from a fixed set.
struct CommandWords {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;

    const std::string* option(const std::string& name) const;
};

// Splits args; flags are options without a value. false with a usage message in *error for
// an unknown option or one without its value.
bool splitWords(const Arguments& args, const std::vector<std::string>& valued,
                const std::vector<std::string>& flags, CommandWords& words, std::string* error);

// The words of a command that takes nothing but --json: false with a usage message.
bool takeJsonFlag(const Arguments& args, const std::string& command, bool& json,
                  std::string* error);

// Whether the words ask for --json, before they are checked: a script that asked for JSON
// reads stdout only, so even a usage error must reach it there.
bool asksForJson(const Arguments& args);

bool parseNumber(const std::string& text, int low, int high, int& value);

// "1,3,5-8": preset numbers 1..8 in rising order, each once; false for anything else.
bool parsePresetList(const std::string& text, std::vector<int>& numbers);

// The exit status of a procedure's result; a failure that showed no message gets one.
int exitStatus(int result, const CtlSeam& seam, const std::string& what);

}  // namespace q93::ctl
