#pragma once

#include <string>
#include <vector>

#include "cli/encoder_names.h"

namespace q93::ctl {

// With a settings history, the stored files of these encoders become one version, its
// message naming each field that changed (backup after a run, set after a change); without
// one nothing is looked at beyond the one folder that tells. A repository history init did
// not make is left alone: the files stand, and stderr says why no version was recorded.
// false with the reason when the history could not record them.
bool recordStoredVersion(const std::vector<StoredEncoder>& encoders, std::string* error);

}  // namespace q93::ctl
