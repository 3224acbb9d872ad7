#include "cli/lock_wait.h"

#include <charconv>

namespace q93::ctl {
namespace {

constexpr const char* kOption = "--lock-wait";
constexpr double kMaxSeconds = 3600;

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

std::chrono::milliseconds lockWait() {
    return wait();
}

}  // namespace q93::ctl
