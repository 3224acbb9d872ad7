#include "cli/encoder_names.h"

#include <algorithm>

#include "cli/quoted_text.h"
#include "store/location_store.h"

namespace q93::ctl {

bool splitEncoderName(const std::string& word, std::string& site, std::string& encoder) {
    const std::string text = wordAsName(word);
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos)
        return false;
    site = text.substr(0, slash);
    encoder = text.substr(slash + 1);
    return isFolderName(site) && isFolderName(encoder);
}

std::string unknownEncoderText(const std::string& word) {
    return "no encoder '" + word + "' under " + kLocationRoot;
}

namespace {

std::vector<StoredEncoder> storedEncoders(std::string* error) {
    ConnectionSettings lastRead;
    std::vector<StoredEncoder> all;
    for (const SiteFolder& site : scanLocationData(lastRead, kLocationRoot, error)) {
        if (!site.error.empty())
            all.push_back(
                {site.name, "", std::string(kLocationRoot) + site.name + "/", site.error});
        for (const EncoderFolder& encoder : site.encoders) {
            all.push_back({site.name, encoder.name, EncoderFolderPath(site.name, encoder.name),
                           encoder.error});
        }
    }
    return all;
}

// Marks in `named` the encoders of `all` that `word` names; false when it names none.
bool markNamed(const std::string& word, const std::vector<StoredEncoder>& all,
               std::vector<bool>& named) {
    std::string name = wordAsName(word);
    // "SITE/" as list prints a site without encoders.
    if (name.size() > 1 && name.back() == '/')
        name.pop_back();
    bool found = false;
    for (std::size_t i = 0; i < all.size(); ++i) {
        // A site that cannot be listed may hold the encoder named: its failure answers.
        const bool inUnlistedSite = all[i].encoder.empty() && name.rfind(all[i].site + "/", 0) == 0;
        if (name == all[i].site || name == all[i].name() || inUnlistedSite) {
            named[i] = true;
            found = true;
        }
    }
    return found;
}

std::vector<StoredEncoder> namedOnly(const std::vector<StoredEncoder>& all,
                                     const std::vector<bool>& named) {
    std::vector<StoredEncoder> selected;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (named[i])
            selected.push_back(all[i]);
    }
    return selected;
}

}  // namespace

bool selectEncoders(const std::vector<std::string>& words, std::vector<StoredEncoder>& selected,
                    std::string* error) {
    const std::vector<StoredEncoder> all = storedEncoders(error);
    if (!error->empty())
        return false;
    std::vector<bool> named(all.size(), words.empty());
    for (const std::string& word : words) {
        if (!markNamed(word, all, named)) {
            *error = unknownEncoderText(word);
            return false;
        }
    }
    selected = namedOnly(all, named);
    return true;
}

std::vector<StoredEncoder> encodersNamedBy(const std::vector<std::string>& words,
                                           std::string* error) {
    const std::vector<StoredEncoder> all = storedEncoders(error);
    std::vector<bool> named(all.size(), words.empty());
    for (const std::string& word : words)
        markNamed(word, all, named);
    return namedOnly(all, named);
}

}  // namespace q93::ctl
