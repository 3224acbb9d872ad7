#pragma once

#include <string>
#include <vector>

namespace q93::ctl {

// "SITE/ENC" split into its two folder names; false unless both are one folder name each.
// A word in the quoted form q93ctl prints names in is taken for the name it quotes.
bool splitEncoderName(const std::string& text, std::string& site, std::string& encoder);

// One encoder of the location store, as the fleet commands name and reach it.
struct StoredEncoder {
    std::string site;
    std::string encoder;
    std::string folder;  // "./LocationData/SITE/ENC/"

    std::string name() const { return site + "/" + encoder; }
};

// The failure of a word that names no encoder or site of the store. Every command exits 1
// with it: the words were well formed, the store just does not hold what they name.
std::string unknownEncoderText(const std::string& word);

// The encoders that SITE and SITE/ENC words name (plain or quoted, as splitEncoderName takes
// them), in the order of the tree and each once;
// every encoder when there are no words. false with the message when a word names none.
bool selectEncoders(const std::vector<std::string>& words, std::vector<StoredEncoder>& selected,
                    std::string* error);

// The same selection as the tree holds it now, for a command that reads the tree again and
// again: a word that names nothing (any more) just adds nothing.
std::vector<StoredEncoder> encodersNamedBy(const std::vector<std::string>& words);

}  // namespace q93::ctl
