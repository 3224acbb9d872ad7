#pragma once

#include <string>
#include <vector>

#include "protocol/parameter_ranges.h"

namespace q93::ctl {

// Whether blocks with these fields out of range may go to an encoder: yes when there are
// none, or with --force (then they are listed on stderr as a warning). Otherwise they are
// listed on stderr with how to go on, and nothing may be sent. `source` names the files.
bool maySend(const std::string& source, const std::vector<RangeViolation>& fields, bool force);

// The fields as one word each, "NAME=VALUE", joined by blanks: the short form for a line of
// output.
std::string fieldWords(const std::vector<RangeViolation>& fields);

}  // namespace q93::ctl
