#include "cli/open_verdict.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace q93::ctl {
namespace {

bool contains(const std::vector<gid_t>& groups, gid_t group) {
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

std::string octal(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

std::string holderList(const std::vector<DeviceHolder>& holders) {
    std::string text;
    for (const DeviceHolder& holder : holders) {
        text +=
            (text.empty() ? "" : ", ") + std::to_string(holder.pid) + " (" + holder.command + ")";
    }
    return text;
}

OpenVerdict deniedAccess(const AccessFacts& facts) {
    const bool groupMayUse = (facts.mode & 0060) == 0060;
    const std::string group = "\"" + facts.groupName + "\"";
    if (facts.uid != facts.owner && groupMayUse && !contains(facts.memberGroups, facts.group)) {
        return {
            false, "not in group " + group,
            "sudo usermod -aG " + facts.groupName + " " + facts.userName + ", then log in again"};
    }
    if (facts.uid != facts.owner && groupMayUse && !contains(facts.sessionGroups, facts.group)) {
        return {false, "in group " + group + " only from the next log-in",
                "log in again (or start a shell with: newgrp " + facts.groupName + ")"};
    }
    return {false,
            "mode " + octal(facts.mode) + " does not let this user read and write it (owner " +
                std::to_string(facts.owner) + ", group " + group + ")",
            "sudo chmod 0660 " + facts.path + " (for good: a udev rule with MODE=\"0660\")"};
}

}  // namespace

OpenVerdict explainOpenFailure(int error, const AccessFacts& facts) {
    switch (error) {
        case EACCES:
        case EPERM:
            return deniedAccess(facts);
        case EBUSY:
            if (facts.holders.empty()) {
                return {false, "held by another process (none that /proc shows this user)",
                        "find it with: sudo fuser -v " + facts.path};
            }
            return {false, "held by another process: " + holderList(facts.holders),
                    "end that program or wait until it lets the port go"};
        case ENOENT:
            return {false, "no such device",
                    "plug the adapter in, or map the port to a device that exists: "
                    "q93ctl map-port COMn DEVICE"};
        case ENOTTY:
            return {false, "not a terminal, so no serial device",
                    "map the port to a serial device: q93ctl map-port COMn DEVICE"};
        case ENXIO:
        case ENODEV:
        case EIO:
            return {false, "no hardware answers at this port",
                    "use the port the adapter is on (q93ctl ports lists them)"};
        default:
            return {false, std::strerror(error), ""};
    }
}

HeldDevices heldDevices() {
    namespace fs = std::filesystem;
    HeldDevices held;
    const std::string self = std::to_string(::getpid());
    std::error_code code;
    // Processes come and go while this looks: whatever cannot be read is passed over.
    for (fs::directory_iterator process("/proc", code), end; !code && process != end;
         process.increment(code)) {
        const std::string pid = process->path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos || pid == self)
            continue;
        std::string command;
        std::error_code fdCode;
        for (fs::directory_iterator fd(process->path() / "fd", fdCode); !fdCode && fd != end;
             fd.increment(fdCode)) {
            std::error_code linkCode;
            const std::string target = fs::read_symlink(fd->path(), linkCode).string();
            if (linkCode || target.rfind("/dev/", 0) != 0)
                continue;
            if (command.empty())
                std::ifstream(process->path() / "comm") >> command;
            std::vector<DeviceHolder>& holders = held[target];
            if (holders.empty() || holders.back().pid != std::atoi(pid.c_str()))
                holders.push_back({std::atoi(pid.c_str()), command});
        }
    }
    return held;
}

std::vector<DeviceHolder> holdersOf(const HeldDevices& held, const std::string& path) {
    std::error_code code;
    const std::string target = std::filesystem::weakly_canonical(path, code).string();
    const auto found = held.find(code ? path : target);
    return found == held.end() ? std::vector<DeviceHolder>{} : found->second;
}

AccessFacts accessFacts(const std::string& path, std::vector<DeviceHolder> holders) {
    AccessFacts facts;
    facts.path = path;
    facts.holders = std::move(holders);
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        facts.mode = info.st_mode;
        facts.owner = info.st_uid;
        facts.group = info.st_gid;
    }
    const group* named = ::getgrgid(facts.group);
    facts.groupName = named != nullptr ? named->gr_name : std::to_string(facts.group);
    facts.uid = ::geteuid();
    const passwd* user = ::getpwuid(facts.uid);
    facts.userName = user != nullptr ? user->pw_name : std::to_string(facts.uid);
    const int count = ::getgroups(0, nullptr);
    facts.sessionGroups.resize(static_cast<std::size_t>(std::max(count, 0)));
    // A failed call would leave zeros, and group 0 would pass for one of the user's.
    const int got = count > 0 ? ::getgroups(count, facts.sessionGroups.data()) : 0;
    facts.sessionGroups.resize(static_cast<std::size_t>(std::max(got, 0)));
    facts.sessionGroups.push_back(::getegid());
    if (user != nullptr) {
        int members = 64;
        facts.memberGroups.resize(static_cast<std::size_t>(members));
        if (::getgrouplist(user->pw_name, user->pw_gid, facts.memberGroups.data(), &members) < 0) {
            facts.memberGroups.resize(static_cast<std::size_t>(members));
            ::getgrouplist(user->pw_name, user->pw_gid, facts.memberGroups.data(), &members);
        }
        facts.memberGroups.resize(static_cast<std::size_t>(members));
    }
    return facts;
}

OpenVerdict tryOpen(const std::string& path, const std::vector<DeviceHolder>& holders) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    // A file the INI file maps a port to opens as well as a device does; the port's first
    // terminal call is what fails on it.
    int error = fd < 0 ? errno : 0;
    if (fd >= 0) {
        if (::isatty(fd) == 0)
            error = ENOTTY;
        ::close(fd);
    }
    if (error == 0)
        return {true, "", ""};
    return explainOpenFailure(error, accessFacts(path, holders));
}

}  // namespace q93::ctl
