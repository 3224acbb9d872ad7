#pragma once

#include <cstdint>

#include "bench/soak_report.h"

namespace q93::soak {

struct SoakOptions {
    int transfers = 5000;
    std::uint64_t seed = 1;
    bool tcp = true;
    bool pty = true;
    bool verbose = false;
};

// Plans the transfers and their faults, runs them segment by segment against fresh runs
// of q93sim, and gathers the tally; the leak check compares the process before any run
// started, after the warm-up and after the last run ended.
SoakTally runSoak(const SoakOptions& options);

}  // namespace q93::soak
