#pragma once

#include <string>
#include <string_view>

namespace q93 {

// Replaces a file's content as one step: the bytes go to a new file beside it, are flushed
// to the disk, and the new file is renamed over the old one. A full disk or a crash half way
// therefore leaves the old file byte for byte; false when the file could not be replaced.
bool replaceFile(const std::string& path, std::string_view bytes);

}  // namespace q93
