#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace q93 {

// The longest entry of the port log: a prefix of three characters and 676 bytes.
inline constexpr std::size_t kPortLogEntryChars = 2031;

// The port log's lines for one frame: the direction's prefix, "-> " for a frame sent and
// "<- " for one received, then every byte as two upper-case hex digits and a blank. A frame
// longer than one entry holds continues on further lines, each with the prefix again, so no
// byte is lost; an empty frame gives the prefix alone, an unknown direction no line at all.
std::vector<std::string> portLogEntries(const std::uint8_t* bytes, int length, int direction);

// Saves the log: the file replaced ("w+"), each entry in order followed by a line end.
// false when the file cannot be opened; nothing is written then.
bool writePortLogFile(const std::string& path, const std::vector<std::string>& entries);

}  // namespace q93
