#include "base/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include "base/held_signals.h"
#include "base/regular_file.h"

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

bool readAll(const std::string& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            errno = error;
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return true;
}

// A name beside `path` that no other replacement uses, in this process (the counter) or in
// another (the process id); a name left by an earlier process with the same id is passed by.
template <typename Make>
bool makePartner(const std::string& path, const char* kind, std::string& partner, Make make) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        partner = path + kind + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        if (make(partner))
            return true;
        if (errno != EEXIST)
            break;
    }
    partner.clear();
    return false;
}

}  // namespace

FileReplacement::~FileReplacement() {
    discard();
}

bool FileReplacement::failed() {
    error_ = errno;
    discard();
    return false;
}

bool FileReplacement::refused(const std::string& path) {
    refusal_ = notRegularFile(path);
    if (refusal_.empty())
        return false;
    discard();
    error_ = refusal_ == "is a directory" ? EISDIR : EINVAL;
    return true;
}

std::string FileReplacement::reason() const {
    return refusal_.empty() ? std::strerror(error_) : refusal_;
}

bool FileReplacement::open(const std::string& given) {
    discard();
    if (refused(given))
        return false;
    const std::string path = replacementTarget(given);
    // The partner is made in the same folder, so the rename cannot cross a file system, and
    // with 0666 less the umask, as fopen would have made the file.
    const bool made = makePartner(path, ".new-", partner_, [this](const std::string& name) {
        fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return fd_ >= 0;
    });
    if (!made)
        return failed();
    // A file the user made read-only for the group keeps that mode after the rename.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0)
        ::fchmod(fd_, old.st_mode & 07777);
    path_ = path;
    return true;
}

bool FileReplacement::write(std::string_view bytes) {
    if (fd_ < 0)
        return false;
    bool ok = writeAll(fd_, bytes) && ::fsync(fd_) == 0;
    int error = errno;
    if (::close(fd_) != 0 && ok) {
        ok = false;
        error = errno;
    }
    fd_ = -1;
    if (ok)
        return true;
    errno = error;
    return failed();
}

bool FileReplacement::install() {
    if (partner_.empty() || fd_ >= 0)
        return false;
    if (::rename(partner_.c_str(), path_.c_str()) != 0) {
        error_ = errno;
        return false;
    }
    partner_.clear();
    return true;
}

bool FileReplacement::commit(std::string_view bytes) {
    if (write(bytes) && install())
        return true;
    discard();
    return false;
}

bool FileReplacement::keep(const std::string& given) {
    discard();
    if (refused(given))
        return false;
    const std::string path = replacementTarget(given);
    const bool linked = makePartner(path, ".old-", partner_, [&path](const std::string& name) {
        return ::link(path.c_str(), name.c_str()) == 0;
    });
    if (linked) {
        path_ = path;
        return true;
    }
    std::string bytes;
    if (!readAll(path, bytes))
        return failed();
    return open(path) && write(bytes);
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
    EndSignalsHeld held;
    FileReplacement replacement;
    return replacement.open(path) && replacement.commit(bytes);
}

}  // namespace q93
