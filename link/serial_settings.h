#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace q93 {

class SerialLink;

// The serial character format and handshake are machine-wide, not per encoder: section
// "Settings" of the program's INI file, read (never written) by every SerialLink.
inline constexpr const char* kSettingsSection = "Settings";

// Reads "DataBits", "Parity", "StopBits" and "Handshake", in that order, into the link's
// fields; absent values give 8, 'N', 1 and "none". Nothing is validated here: the port
// refuses what it cannot do when the link opens.
void loadSerialSettings(SerialLink& link);

// A decimal integer the way the profile has always been read: leading blanks and a sign,
// then digits up to the first other character; 0 when there are none. Values beyond 32 bits
// stop at the largest ones.
int profileInteger(std::string_view text);

// A value of the section that the port refuses, or that is read as something other than
// what it says.
struct SettingFinding {
    std::string key;      // "DataBits"
    std::string written;  // the value as the file holds it
    std::string allowed;  // "4 to 8"
    bool refused;         // every open fails with it; otherwise it is read as "none"
};

// What the section of the INI file at `path` holds that a user should be told about, in
// key order; empty when every value is taken as written.
std::vector<SettingFinding> checkSerialSettings(const std::string& path);

// "none", "even" and "odd", exactly so written, give 'N', 'E' and 'O'; anything else 'N'.
char parityFromProfile(std::string_view text);

struct FlowModes {
    int inbound;
    int outbound;
};

// "RTS/CTS" and "Xon/Xoff", exactly so written, select their handshake; anything else none.
FlowModes flowModesForHandshake(std::string_view handshake);

}  // namespace q93
