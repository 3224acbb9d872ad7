#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/soak_expect.h"
#include "bench/soak_plan.h"
#include "bench/soak_transfer.h"

namespace q93::soak {

// What the process holds that a transfer could leak.
struct ProcessProbe {
    int fds = 0;
    int threads = 0;
    long rssKiB = 0;
    long heapBytes = 0;  // in use by the allocator, which RSS blurs with what it keeps free
};
ProcessProbe probeProcess();

// The longest a transfer may keep its caller waiting on a link: the link's answer time-out
// plus the bound on a TCP connect.
double waitBoundSeconds(Link link);
double answerTimeoutSeconds(Link link);

// Everything the soak prints at the end, gathered transfer by transfer.
class SoakTally {
public:
    void add(int number, const Planned& t, LinkMode mode, const Expected& expected,
             const TransferReport& report);
    void unexpected(const std::string& text) { unexpected_.push_back(text); }
    void simulatorStarted() { ++simulatorRuns_; }

    // The leak check: descriptors and threads at the end as at the start; the memory in use
    // after the last transfer as after the warm-up, within the tolerances.
    void leaks(const ProcessProbe& start, const ProcessProbe& end, const ProcessProbe& warm,
               const ProcessProbe& last);

    void print(std::FILE* out, double elapsedSeconds) const;
    bool failed() const { return !unexpected_.empty() || !leaks_.empty(); }
    static std::string describe(int number, const Planned& t, LinkMode mode);
    static std::string describeResult(int result, const std::vector<std::string>& messages);

private:
    struct Count {
        int total = 0;
        int failed = 0;
    };
    struct Longest {
        double seconds = 0;
        std::string what;
    };
    std::array<Count, kKindCount> kinds_{};
    std::array<Count, 3> modes_{};
    std::array<int, kFaultKindCount> faults_{};
    // By fault kind and by what the fault did to the request it hit.
    std::array<std::array<int, 6>, kFaultKindCount> effects_{};
    int cut_ = 0;
    int cutTimeout_ = 0;
    int cutServed_ = 0;
    std::array<Longest, 2> longest_{};
    int simulatorRuns_ = 0;
    std::vector<std::string> unexpected_;
    std::string leakLine_;
    std::vector<std::string> leaks_;
};

}  // namespace q93::soak
