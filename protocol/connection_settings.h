#pragma once

#include <cstddef>
#include <string>

namespace q93 {

// How to reach one encoder, as its tcp.txt holds it: five lines, address, TCP port, port
// name ("TCP/IP" for the network), baud-rate index 0..5, acknowledgement flag.
struct ConnectionSettings {
    std::string ipAddress;
    std::string tcpPort;
    std::string portName;
    int speedIndex = 3;
    int readAck = 2;
    // Why the file read did not come from the tool, empty when it did: a line with no line
    // break within the 19 characters the store reads at once ("line 1 longer than 18
    // characters"). Its values are what the store reads, not what the file meant; no
    // transfer takes them. Never written.
    std::string doubt;
};

// The longest text a line of tcp.txt gives back as it was written: the store reads a line
// into 19 characters, its line break among them. A longer text, or one holding a line break,
// would come back in pieces.
inline constexpr std::size_t kMaxConnectionText = 18;

// Reads tcp.txt as the location store does: at most 19 characters a line (the rest counts
// as the next line), line breaks stripped from the three texts, the two numbers converted
// as decimal (0 when none). false when the file cannot be opened; the texts are then empty
// and the numbers keep their values. A line that does not fit sets `doubt` (see above).
bool readConnectionSettings(const std::string& path, ConnectionSettings& settings);

// The refusal of a transfer whose tcp.txt at `path` is doubtful, `doubt` the reason the
// read gave: "'PATH' is doubtful: REASON; nothing was sent".
std::string doubtfulConnectionText(const std::string& path, const std::string& doubt);

// Writes tcp.txt: the three texts, then the two numbers, a line each with CR LF line ends,
// as files copied between machines either way expect. The old file is replaced only by a
// complete new one; false when that fails.
bool writeConnectionSettings(const std::string& path, const ConnectionSettings& settings);

}  // namespace q93
