#pragma once

#include <string>
#include <string_view>

namespace q93 {

// Sets one value of an INI file and keeps every other byte: the line that readProfileString
// would take for the key is rewritten in place (keeping its line end), a key missing from
// an existing section goes after the section's last line, and a missing section is added at
// the end, with the line ends the file already uses. The file is replaced as one step, and
// created with its folder when missing. false with the reason in *error, the file untouched,
// also when the section, key or value holds a line break.
bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, std::string* error);

// The text writeProfileString would leave, from the file's current text.
std::string withProfileString(std::string_view text, std::string_view section, std::string_view key,
                              std::string_view value);

}  // namespace q93
