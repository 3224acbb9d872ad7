#include "base/replace_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

namespace q93 {
namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool replaceFile(const std::string& path, std::string_view bytes) {
    // The partner is made in the same folder, so the rename cannot cross a file system, and
    // with 0666 less the umask, as fopen would have made the file.
    static std::atomic<unsigned> counter{0};
    const std::string partner =
        path + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(partner.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(partner.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(partner.c_str());
    return false;
}

}  // namespace q93
