#pragma once

#include <string>

#include "cli/encoder_names.h"
#include "store/stored_blocks.h"

namespace q93::ctl {

// The blocks a choice covers as version `revision` of the settings history holds them, each
// file checked (there, of its exact size) before any is used; *shortId names the version.
// false with the message otherwise.
bool readVersionChoice(const std::string& revision, const StoredEncoder& encoder,
                       const BlockChoice& choice, EncoderBlocks& blocks, std::string* shortId,
                       std::string* error);

}  // namespace q93::ctl
