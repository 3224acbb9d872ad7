#pragma once

#include <string>
#include <string_view>

namespace q93 {

// Values longer than this are cut, as the program's profile reads always were.
inline constexpr std::size_t kProfileValueMaxLength = 4095;

// One value of an INI file, read the way private profile files are read: section and key
// names match regardless of case, the first matching key of the first matching section
// wins, blanks around the value and one pair of enclosing quotes are dropped, and a missing
// file, section or key gives defaultValue.
std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue);

// The program's own INI file: $XDG_CONFIG_HOME/q93config/Q93Config.ini, or
// ~/.config/q93config/Q93Config.ini when XDG_CONFIG_HOME is unset, empty or relative.
std::string programIniPath();

}  // namespace q93
