#include "cli/encoder_names.h"

#include <algorithm>

#include "app/location_store.h"

namespace q93::ctl {

bool splitEncoderName(const std::string& text, std::string& site, std::string& encoder) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos)
        return false;
    site = text.substr(0, slash);
    encoder = text.substr(slash + 1);
    return isFolderName(site) && isFolderName(encoder);
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
        bool found = false;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (word == all[i].site || word == all[i].name()) {
                named[i] = true;
                found = true;
            }
        }
        if (!found) {
            *error = "no encoder '" + word + "' under " + kLocationRoot;
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
