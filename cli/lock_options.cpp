#include "cli/lock_options.h"

#include <charconv>

#include "cli/connection_options.h"

namespace q93::ctl {
namespace {

constexpr const char* kOption = "--lock-wait";
constexpr double kMaxSeconds = 3600;

// The commands that reach one encoder through the connection options.
constexpr const char* kSingleEncoderCommands[] = {
    "read-preset", "write-preset", "read-device", "write-device", "rtc-read", "rtc-write", "levels",
};

std::chrono::milliseconds& wait() {
    static std::chrono::milliseconds given = kDefaultLockWait;
    return given;
}

}  // namespace

bool takeLockWait(Arguments& words, std::string* error) {
    // The leading options come in pairs of name and value, up to the command's name.
    std::size_t i = 0;
    while (i < words.size() && words[i].rfind("--", 0) == 0) {
        if (words[i] != kOption) {
            i += 2;
            continue;
        }
        double seconds = -1;
        const std::string text = i + 1 < words.size() ? words[i + 1] : "";
        const char* end = text.data() + text.size();
        const auto [ptr, ec] = std::from_chars(text.data(), end, seconds);
        if (text.empty() || ec != std::errc{} || ptr != end || !(seconds >= 0) ||
            seconds > kMaxSeconds) {
            *error = std::string(kOption) + " takes seconds, 0 to 3600";
            return false;
        }
        wait() = std::chrono::milliseconds(static_cast<long long>(seconds * 1000 + 0.5));
        words.erase(words.begin() + static_cast<std::ptrdiff_t>(i),
                    words.begin() + static_cast<std::ptrdiff_t>(i + 2));
    }
    return true;
}

std::string lockWaitHint() {
    return "; try again once it has ended, or wait longer with --lock-wait SECONDS";
}

std::chrono::milliseconds lockWait() {
    return wait();
}

bool lockEncoder(const std::string& encoderFolder, EncoderLock& lock, std::string* error) {
    if (lock.acquire(encoderFolder, wait(), error))
        return true;
    *error += lockWaitHint();
    return false;
}

bool lockGivenEncoder(const std::string& command, EncoderLock& lock, std::string* error) {
    const std::string& folder = connectionOptions().encoderFolder;
    if (folder.empty())
        return true;
    for (const char* name : kSingleEncoderCommands) {
        if (command == name)
            return lockEncoder(folder, lock, error);
    }
    return true;
}

}  // namespace q93::ctl
