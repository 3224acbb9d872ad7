#include "store/folder_trash.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <system_error>

namespace q93 {
namespace {

namespace fs = std::filesystem;

// Past this many entries of one name the trash is taken to be unusable, not searched on.
constexpr int kMaxSameNames = 1000;

struct Trash {
    fs::path folder;
    fs::path pathsRelativeTo;  // empty: the info file gives the absolute path
};

std::optional<dev_t> deviceOf(const fs::path& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return std::nullopt;
    return status.st_dev;
}

// A trash folder with its two sub-folders, made (for this user only) where missing, on the
// file system `device`.
bool usableTrash(const fs::path& folder, dev_t device) {
    std::error_code code;
    for (const char* part : {"files", "info"}) {
        fs::create_directories(folder / part, code);
        fs::permissions(folder, fs::perms::owner_all, code);
        if (!fs::is_directory(fs::symlink_status(folder / part, code)))
            return false;
    }
    return deviceOf(folder / "files") == device;
}

fs::path homeTrash() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/')
        return fs::path(dataHome) / "Trash";
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr ? home : "") / ".local/share/Trash";
}

// The top folder of the file system an entry is on: the highest ancestor on its device.
fs::path topOfFileSystem(const fs::path& entry, dev_t device) {
    fs::path top = entry.parent_path();
    while (top.has_relative_path() && deviceOf(top.parent_path()) == device)
        top = top.parent_path();
    return top;
}

// The shared $topdir/.Trash counts only as a sticky folder, not a link, as the trash's rules
// ask, so that another user cannot have planted it; else this user's own $topdir/.Trash-UID.
std::optional<Trash> topTrash(const fs::path& entry, dev_t device) {
    const fs::path top = topOfFileSystem(entry, device);
    const std::string uid = std::to_string(::getuid());
    struct stat shared {};
    if (::lstat((top / ".Trash").c_str(), &shared) == 0 && S_ISDIR(shared.st_mode) &&
        (shared.st_mode & S_ISVTX) != 0 && usableTrash(top / ".Trash" / uid, device)) {
        return Trash{top / ".Trash" / uid, top};
    }
    if (usableTrash(top / (".Trash-" + uid), device))
        return Trash{top / (".Trash-" + uid), top};
    return std::nullopt;
}

// The home trash for what is on its file system (made where missing); the file system's own
// trash for anything else, as a rename cannot cross file systems.
std::optional<Trash> trashFor(const fs::path& entry, dev_t device) {
    fs::path home = homeTrash();
    while (home.has_relative_path() && !deviceOf(home))
        home = home.parent_path();
    if (deviceOf(home) != device)
        return topTrash(entry, device);
    if (usableTrash(homeTrash(), device))
        return Trash{homeTrash(), {}};
    return std::nullopt;
}

std::string percentEncoded(const std::string& path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : path) {
        if (std::isalnum(c) != 0 || std::strchr("-._~/", c) != nullptr) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0F];
        }
    }
    return encoded;
}

std::string infoText(const Trash& trash, const fs::path& entry) {
    const fs::path shown =
        trash.pathsRelativeTo.empty() ? entry : entry.lexically_relative(trash.pathsRelativeTo);
    char date[32] = {};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + percentEncoded(shown.string()) + "\nDeletionDate=" + date + "\n";
}

// Claims a name in the trash by creating its info file, which no other trash user then
// takes: "NAME", else "NAME.2", "NAME.3"...
std::optional<std::string> claimName(const Trash& trash, const std::string& name,
                                     const std::string& info) {
    for (int n = 1; n <= kMaxSameNames; ++n) {
        const std::string candidate = n == 1 ? name : name + "." + std::to_string(n);
        const fs::path infoFile = trash.folder / "info" / (candidate + ".trashinfo");
        std::error_code code;
        if (fs::exists(fs::symlink_status(trash.folder / "files" / candidate, code)))
            continue;
        const int fd = ::open(infoFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return std::nullopt;
        }
        const bool written =
            ::write(fd, info.data(), info.size()) == static_cast<ssize_t>(info.size());
        ::close(fd);
        if (written)
            return candidate;
        ::unlink(infoFile.c_str());
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

bool moveToTrash(const std::string& path, std::string* trashedAs, std::string* error) {
    std::error_code code;
    fs::path entry = fs::absolute(path, code).lexically_normal();
    if (!entry.has_filename())
        entry = entry.parent_path();
    const std::optional<dev_t> device = deviceOf(entry);
    if (!device) {
        *error = "cannot find '" + path + "': " + std::strerror(errno);
        return false;
    }
    const std::optional<Trash> trash = trashFor(entry, *device);
    if (!trash) {
        *error = "no trash can be had for '" + path + "' (" + homeTrash().string() +
                 " or the trash of its own file system)";
        return false;
    }
    const std::optional<std::string> name =
        claimName(*trash, entry.filename().string(), infoText(*trash, entry));
    if (!name) {
        *error =
            "cannot write into the trash " + trash->folder.string() + ": " + std::strerror(errno);
        return false;
    }
    const fs::path target = trash->folder / "files" / *name;
    if (::renameat2(AT_FDCWD, entry.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
        const int reason = errno;
        ::unlink((trash->folder / "info" / (*name + ".trashinfo")).c_str());
        *error = "cannot move '" + path + "' into the trash " + trash->folder.string() + ": " +
                 std::strerror(reason);
        return false;
    }
    *trashedAs = target.string();
    return true;
}

}  // namespace q93
