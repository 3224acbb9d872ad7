#include "base/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace q93 {
namespace {

std::string kindOf(mode_t mode) {
    if (S_ISREG(mode))
        return {};
    if (S_ISCHR(mode))
        return "is a character device";
    if (S_ISBLK(mode))
        return "is a block device";
    if (S_ISFIFO(mode))
        return "is a FIFO";
    if (S_ISDIR(mode))
        return "is a directory";
    if (S_ISSOCK(mode))
        return "is a socket";
    return "is not a regular file";
}

}  // namespace

std::string notRegularFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0)
        return kindOf(info.st_mode);
    const int error = errno;
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        return error == ENOENT ? "is a dangling symbolic link"
                               : "is a symbolic link that cannot be followed: " +
                                     std::string(std::strerror(error));
    }
    // Nothing there, or nothing that can be looked at: the open or the write says why.
    return {};
}

std::string fileRefusal(const std::string& path) {
    const std::string kind = notRegularFile(path);
    return kind.empty() ? kind : "'" + path + "' " + kind;
}

int openRegularFile(const std::string& path, std::string* error) {
    if (std::string refusal = fileRefusal(path); !refusal.empty()) {
        *error = std::move(refusal);
        return -1;
    }
    // The look above and the open are two steps; whatever took the name between them is
    // opened without waiting and judged again by what was opened.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error = "cannot read '" + path + "': " + std::strerror(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const std::string kind = kindOf(info.st_mode);
        *error = "'" + path + "' " + (kind.empty() ? "cannot be looked at" : kind);
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::string replacementTarget(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
        return path;
    std::error_code error;
    const std::filesystem::path target = std::filesystem::canonical(path, error);
    return error ? path : target.string();
}

}  // namespace q93
