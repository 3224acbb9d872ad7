#pragma once

#include <string>

namespace q93 {

// "%u.%u%u" of the file version's major, minor and patch parts: 1.2.6.0 gives "1.26".
std::string VersionText();

// "Q93 Config V" followed by the version text, as the main window and about box show it.
std::string WindowTitle();

}  // namespace q93
