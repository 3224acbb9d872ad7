#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace q93::ctl {

// A process that has a device open, as /proc shows it.
struct DeviceHolder {
    int pid = 0;
    std::string command;
};

// What the system says about a device file and the user who wants to open it.
struct AccessFacts {
    std::string path;
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
    std::string groupName;
    uid_t uid = 0;
    std::string userName;
    std::vector<gid_t> sessionGroups;  // what this process has now
    std::vector<gid_t> memberGroups;   // what the next log-in gives (the group file)
    std::vector<DeviceHolder> holders;
};

// Whether this user can open a device, and where not, why and what to do about it.
struct OpenVerdict {
    bool canOpen = false;
    std::string reason;
    std::string fix;
};

// The verdict for an open that failed with `error` (an errno value): a missing group
// membership, a mode that lets no one in, a device held by another process, a mapping to a
// device that is not there or to a file that is no terminal.
OpenVerdict explainOpenFailure(int error, const AccessFacts& facts);

// Which other processes have which devices open, where /proc lets this user see it, by
// the device's resolved path. One look serves a whole listing.
using HeldDevices = std::map<std::string, std::vector<DeviceHolder>>;
HeldDevices heldDevices();
std::vector<DeviceHolder> holdersOf(const HeldDevices& held, const std::string& path);

// Gathers the facts for a device and this process's user.
AccessFacts accessFacts(const std::string& path, std::vector<DeviceHolder> holders);

// Opens the device once, without becoming its controlling terminal and without waiting for
// a carrier, sees that it is a terminal, and closes it again.
OpenVerdict tryOpen(const std::string& path, const std::vector<DeviceHolder>& holders);

}  // namespace q93::ctl
