#pragma once

#include <string>

namespace q93 {

// The texts of the Settings page's "Currently used Input" frame, in the user's language.

// "L / -", "- / R", "L / R" for 1, 2, 3; "- / -" for anything else.
std::string ChannelsText(int channels);

// "Nicht ausgelesen..." for -1 (no device read yet), then off, analog, digital for 0-2. A
// value the encoder should never report shows as "?", as the template does before a read.
std::string CurrentInputText(int currentInput);

std::string AesFrameText(int aesFrameStatus);

}  // namespace q93
