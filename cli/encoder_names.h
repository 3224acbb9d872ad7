#pragma once

#include <string>
#include <vector>

namespace q93::ctl {

// "SITE/ENC" split into its two folder names; false unless both are one folder name each.
bool splitEncoderName(const std::string& text, std::string& site, std::string& encoder);

// One encoder of the location store, as the fleet commands name and reach it.
struct StoredEncoder {
    std::string site;
    std::string encoder;
    std::string folder;  // "./LocationData/SITE/ENC/"

    std::string name() const { return site + "/" + encoder; }
};

// The encoders that SITE and SITE/ENC words name, in the order of the tree and each once;
// every encoder when there are no words. false with the message when a word names none.
bool selectEncoders(const std::vector<std::string>& words, std::vector<StoredEncoder>& selected,
                    std::string* error);

}  // namespace q93::ctl
