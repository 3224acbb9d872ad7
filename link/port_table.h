#pragma once

#include <string_view>

namespace q93 {

// The index a name outside the table gets; no device normally answers to it.
inline constexpr int kUnknownPortIndex = 100;

// The 0-based port index of a serial port name. Names are compared case-sensitively by
// prefix, the two-digit names first: "COM10".."COM66" give 9..65, "COM1".."COM9" give 0..8,
// anything else kUnknownPortIndex. So "COM100" gives 9 and "COM67" gives 5.
int portIndexForName(std::string_view name);

}  // namespace q93
