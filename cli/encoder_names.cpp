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

bool selectEncoders(const std::vector<std::string>& words, std::vector<StoredEncoder>& selected,
                    std::string* error) {
    ConnectionSettings lastRead;
    const std::vector<SiteFolder> sites = scanLocationData(lastRead);
    std::vector<bool> named;
    std::vector<StoredEncoder> all;
    for (const SiteFolder& site : sites) {
        for (const EncoderFolder& encoder : site.encoders) {
            all.push_back({site.name, encoder.name, EncoderFolderPath(site.name, encoder.name)});
        }
    }
    named.assign(all.size(), words.empty());
    for (const std::string& word : words) {
        std::string name = wordAsName(word);
        // "SITE/" as list prints a site without encoders.
        if (name.size() > 1 && name.back() == '/')
            name.pop_back();
        bool found = false;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (name == all[i].site || name == all[i].name()) {
                named[i] = true;
                found = true;
            }
        }
        if (!found) {
            *error = unknownEncoderText(word);
            return false;
        }
    }
    selected.clear();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (named[i])
            selected.push_back(all[i]);
    }
    return true;
}

}  // namespace q93::ctl
