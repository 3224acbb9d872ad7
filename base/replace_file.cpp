#include "base/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
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

FileReplacement::~FileReplacement() {
    discard();
}

bool FileReplacement::open(const std::string& path) {
    discard();
    // The partner is made in the same folder, so the rename cannot cross a file system, and
    // with 0666 less the umask, as fopen would have made the file.
    static std::atomic<unsigned> counter{0};
    std::string partner =
        path + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    fd_ = ::open(partner.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0)
        return false;
    // A file the user made read-only for the group keeps that mode after the rename.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0)
        ::fchmod(fd_, old.st_mode & 07777);
    path_ = path;
    partner_ = std::move(partner);
    return true;
}

bool FileReplacement::commit(std::string_view bytes) {
    if (fd_ < 0)
        return false;
    bool ok = writeAll(fd_, bytes) && ::fsync(fd_) == 0;
    ok = (::close(fd_) == 0) && ok;
    fd_ = -1;
    if (ok && ::rename(partner_.c_str(), path_.c_str()) == 0) {
        partner_.clear();
        return true;
    }
    discard();
    return false;
}

void FileReplacement::discard() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!partner_.empty())
        ::unlink(partner_.c_str());
    partner_.clear();
}

bool replaceFile(const std::string& path, std::string_view bytes) {
    FileReplacement replacement;
    return replacement.open(path) && replacement.commit(bytes);
}

}  // namespace q93
