#pragma once

#include <string>
#include <vector>

namespace q93 {

// What the desktop tool's arguments (after the toolkit took its own) ask for.
enum class StartRequest { Run, Help, Refused };

// No argument: work in the current folder. One: the folder that holds (or is to hold)
// LocationData, made the working folder. Anything else is refused, with the message.
StartRequest enterWorkingFolder(const std::vector<std::string>& arguments, std::string* message);

// "Usage: q93config [FOLDER]" and what FOLDER is.
std::string desktopUsage();

}  // namespace q93
