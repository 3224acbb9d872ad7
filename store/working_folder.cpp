#include "store/working_folder.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace q93 {

std::string desktopUsage() {
    return "Usage: q93config [FOLDER]\n"
           "Works in FOLDER (default: the current folder): its LocationData holds the sites and\n"
           "encoders, made by the tree's context menu when there are none yet.\n";
}

StartRequest enterWorkingFolder(const std::vector<std::string>& arguments, std::string* message) {
    if (arguments.empty())
        return StartRequest::Run;
    if (arguments.front() == "--help" || arguments.front() == "-h") {
        *message = desktopUsage();
        return StartRequest::Help;
    }
    if (arguments.size() > 1 || arguments.front().empty() || arguments.front().front() == '-') {
        *message = "q93config takes one argument, a folder\n" + desktopUsage();
        return StartRequest::Refused;
    }
    if (::chdir(arguments.front().c_str()) != 0) {
        *message =
            "q93config: cannot work in '" + arguments.front() + "': " + std::strerror(errno) + "\n";
        return StartRequest::Refused;
    }
    return StartRequest::Run;
}

}  // namespace q93
