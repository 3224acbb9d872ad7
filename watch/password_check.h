#pragma once

#include <array>
#include <map>
#include <mutex>
#include <string>

namespace q93::watch {

// Checks HTTP basic authentication against the bcrypt hashes of a web configuration, with the
// system's crypt library. bcrypt is slow on purpose (some 100 ms at cost 10); a Prometheus
// scraping every 15 s sends the same pair each time, so a pair once found right is kept, as a
// keyed digest of this process rather than the password itself, and found right again at
// once. A wrong pair is never kept: each costs a full bcrypt check.
class PasswordCheck {
public:
    // `users`: user name to bcrypt hash.
    explicit PasswordCheck(std::map<std::string, std::string> users);
    PasswordCheck(const PasswordCheck&) = delete;
    PasswordCheck& operator=(const PasswordCheck&) = delete;

    // True when `password` is the one `user`'s hash was made from.
    bool accepts(const std::string& user, const std::string& password);
    // How many checks ran bcrypt, for a test to see the kept pair at work.
    unsigned long bcryptChecks() const;

private:
    using Digest = std::array<unsigned char, 32>;
    Digest digest(const std::string& user, const std::string& password) const;

    const std::map<std::string, std::string> users_;
    Digest key_{};
    mutable std::mutex mutex_;
    std::map<std::string, Digest> accepted_;  // per user, the pair last found right
    unsigned long bcryptChecks_ = 0;
};

// Equal bytes, taking the same time wherever the first difference lies.
bool sameBytes(const unsigned char* a, const unsigned char* b, std::size_t size);

}  // namespace q93::watch
