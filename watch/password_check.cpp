#include "watch/password_check.h"

#include <crypt.h>
#include <gnutls/crypto.h>

#include <memory>

namespace q93::watch {

bool sameBytes(const unsigned char* a, const unsigned char* b, std::size_t size) {
    unsigned char differ = 0;
    for (std::size_t i = 0; i < size; ++i)
        differ |= static_cast<unsigned char>(a[i] ^ b[i]);
    return differ == 0;
}

PasswordCheck::PasswordCheck(std::map<std::string, std::string> users) : users_(std::move(users)) {
    // A key of this process alone: the kept digests say nothing outside it. Should the random
    // source fail, every digest still differs from an all-zero one, and a wrong pair's digest
    // still differs from a right one's.
    gnutls_rnd(GNUTLS_RND_KEY, key_.data(), key_.size());
}

PasswordCheck::Digest PasswordCheck::digest(const std::string& user,
                                            const std::string& password) const {
    // The name's length first, so that ("ab", "c") and ("a", "bc") never meet.
    std::string pair = std::to_string(user.size()) + ":" + user + password;
    Digest out{};
    gnutls_hmac_fast(GNUTLS_MAC_SHA256, key_.data(), key_.size(), pair.data(), pair.size(),
                     out.data());
    return out;
}

bool PasswordCheck::accepts(const std::string& user, const std::string& password) {
    if (users_.empty())
        return false;
    const auto found = users_.find(user);
    const Digest pair = digest(user, password);
    std::lock_guard<std::mutex> lock(mutex_);
    if (found != users_.end()) {
        const auto kept = accepted_.find(user);
        if (kept != accepted_.end() && sameBytes(kept->second.data(), pair.data(), pair.size()))
            return true;
    }
    // An unknown name costs a bcrypt check too, so that the time taken does not tell which
    // names exist.
    const std::string& hash = found != users_.end() ? found->second : users_.begin()->second;
    auto data = std::make_unique<crypt_data>();
    ++bcryptChecks_;
    const char* made = crypt_rn(password.c_str(), hash.c_str(), data.get(), sizeof *data);
    if (made == nullptr || found == users_.end())
        return false;
    const std::string result(made);
    const bool right = result.size() == hash.size() &&
                       sameBytes(reinterpret_cast<const unsigned char*>(result.data()),
                                 reinterpret_cast<const unsigned char*>(hash.data()), hash.size());
    if (right)
        accepted_[user] = pair;
    return right;
}

unsigned long PasswordCheck::bcryptChecks() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return bcryptChecks_;
}

}  // namespace q93::watch
