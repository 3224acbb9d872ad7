#include "store/encoder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace q93 {
namespace {

std::string processCommand(int pid) {
    const std::string base = "/proc/" + std::to_string(pid) + "/";
    std::ifstream file(base + "cmdline", std::ios::binary);
    std::string command((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    for (char& c : command) {
        if (c == '\0')
            c = ' ';
    }
    while (!command.empty() && command.back() == ' ')
        command.pop_back();
    // A process whose arguments are hidden or gone still has its name.
    if (command.empty())
        std::getline(std::ifstream(base + "comm"), command);
    return command;
}

std::string seconds(std::chrono::milliseconds wait) {
    char text[32];
    std::snprintf(text, sizeof text, wait.count() % 1000 == 0 ? "%.0f s" : "%.1f s",
                  static_cast<double>(wait.count()) / 1000.0);
    return text;
}

// The lock's holder in /proc/locks, whose lines read
// "1: FLOCK  ADVISORY  WRITE 1234 fe:00:10969476 0 EOF" (waiters are marked "->"). Some file
// systems show another device number there than stat gives, so the inode alone decides
// where the device does not match.
std::optional<LockHolder> holderOf(const struct stat& folder) {
    char device[32];
    std::snprintf(device, sizeof device, "%02x:%02x:", major(folder.st_dev), minor(folder.st_dev));
    const std::string exact = device + std::to_string(folder.st_ino);
    const std::string inode = ":" + std::to_string(folder.st_ino);
    std::ifstream locks("/proc/locks");
    std::optional<int> found;
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, where;
        int pid = 0;
        fields >> number >> kind >> mode >> access >> pid >> where;
        if (!fields || kind != "FLOCK")
            continue;
        if (where == exact)
            return LockHolder{pid, processCommand(pid)};
        const bool sameInode = where.size() > inode.size() &&
                               where.compare(where.size() - inode.size(), inode.size(), inode) == 0;
        if (sameInode && !found)
            found = pid;
    }
    if (!found)
        return std::nullopt;
    return LockHolder{*found, processCommand(*found)};
}

std::string busyMessage(const std::string& encoderFolder, const struct stat& folder,
                        std::chrono::milliseconds wait) {
    const std::optional<LockHolder> holder = holderOf(folder);
    const std::string who =
        holder ? "process " + std::to_string(holder->pid) + " (" + holder->command + ")"
               : "another process";
    return "'" + encoderFolder + "' is in use by " + who + ", which did not let it go within " +
           seconds(wait);
}

}  // namespace

EncoderLock::~EncoderLock() {
    release();
}

bool EncoderLock::acquire(const std::string& encoderFolder, std::chrono::milliseconds wait,
                          std::string* error, const std::function<bool()>& stopping) {
    release();
    const int fd = ::open(encoderFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        *error = "cannot open '" + encoderFolder + "': " + std::strerror(errno);
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            fd_ = fd;
            return true;
        }
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            *error = "cannot lock '" + encoderFolder + "': " + std::strerror(errno);
            break;
        }
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) {
            struct stat folder {};
            ::fstat(fd, &folder);
            *error = busyMessage(encoderFolder, folder, wait);
            break;
        }
        if (stopping && stopping()) {
            *error = "stopped";
            break;
        }
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(left, kEncoderLockRetry));
    }
    ::close(fd);
    return false;
}

void EncoderLock::release() {
    // Unlocked before the close: a child forked meanwhile shares the descriptor, and would
    // otherwise keep the lock for as long as it runs.
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
    fd_ = -1;
}

std::optional<LockHolder> encoderLockHolder(const std::string& encoderFolder) {
    struct stat folder {};
    if (::stat(encoderFolder.c_str(), &folder) != 0)
        return std::nullopt;
    return holderOf(folder);
}

}  // namespace q93
