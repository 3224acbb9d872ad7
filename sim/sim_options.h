#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "sim/fault_plan.h"
#include "sim/write_quirks.h"

namespace q93::sim {

struct SimOptions {
    bool tcp = false;
    std::string tcpHost = "127.0.0.1";
    int tcpPort = 0;
    bool pty = false;
    bool serialAck = true;
    std::string storeDir;   // empty: nothing is persisted
    int encoders = 1;       // encoders served, on consecutive TCP ports
    std::string storeRoot;  // encoder k keeps its memory in storeRoot/encoder<k>
    std::vector<Fault> faults;
    int baud = 0;                            // 0: no pacing
    std::set<int> silentEncoders;            // encoder k takes requests and never replies
    std::map<int, int> clockAheadSeconds;    // encoder k's clock starts this far ahead
    std::map<int, WriteQuirks> writeQuirks;  // encoder k ignores or clamps sets of fields
    bool verbose = false;
    bool help = false;
};

// Parses the command line (without the program name). Accepts "--opt value" and
// "--opt=value". False with a message in *error on a mistake. With neither --tcp nor
// --pty, TCP on 127.0.0.1 with a free port is chosen.
bool parseOptions(const std::vector<std::string>& args, SimOptions& options, std::string* error);

// Fleets of more than this many encoders are refused: each takes a port and a thread.
inline constexpr int kMaxEncoders = 500;
inline constexpr int kMaxClockAhead = 366 * 24 * 3600;

// The --help text: usage, options, faults, and the factory values.
std::string helpText();

}  // namespace q93::sim
