#pragma once

#include <string>
#include <vector>

#include "fleet/stored_encoder.h"

namespace q93::ctl {

// "SITE/ENC" split into its two folder names; false unless both are one folder name each.
// A word in the quoted form q93ctl prints names in is taken for the name it quotes.
bool splitEncoderName(const std::string& text, std::string& site, std::string& encoder);

// The failure of a word that names no encoder or site of the store. Every command exits 1
// with it: the words were well formed, the store just does not hold what they name.
std::string unknownEncoderText(const std::string& word);

// The encoders that SITE and SITE/ENC words name (plain or quoted, as splitEncoderName takes
// them), in the order of the tree and each once;
// every encoder when there are no words; a site or encoder that cannot be read is selected
// as one entry with its reason, never left out. false with the message when a word names
// none, or when the store's folder itself cannot be listed.
bool selectEncoders(const std::vector<std::string>& words, std::vector<StoredEncoder>& selected,
                    std::string* error);

// The same selection as the tree holds it now, for a command that reads the tree again and
// again: a word that names nothing (any more) just adds nothing. When the store's folder
// cannot be listed, nothing is selected and *error says why.
std::vector<StoredEncoder> encodersNamedBy(const std::vector<std::string>& words,
                                           std::string* error);

}  // namespace q93::ctl
