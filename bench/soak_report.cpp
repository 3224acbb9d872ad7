#include "bench/soak_report.h"

#include <malloc.h>

#include <filesystem>
#include <fstream>

#include "link/tcp_link.h"

namespace q93::soak {
namespace {

// A TCP connect gives up after this long (the TCP client's bound).
constexpr double kConnectBoundSeconds = 4.0;
// The serial receive gives up after 500 empty polls of 5 ms.
constexpr double kSerialAnswerTimeoutSeconds = 2.5;
// Growth between the warm-up and the last transfer that is not a leak. The heap in use
// barely moves when nothing leaks, so 16 bytes lost a transfer pass its tolerance within
// a full run; the resident set also takes in the allocator's free lists and stack pages.
constexpr long kHeapToleranceBytes = 64 * 1024;
constexpr long kResidentToleranceKiB = 2048;
// Unexpected results printed in full; the rest are counted.
constexpr std::size_t kPrintedUnexpected = 40;

constexpr const char* kModeNames[] = {"tcp", "pty with ack", "pty without ack"};
constexpr const char* kLinkNames[] = {"tcp", "pty"};

int countEntries(const char* folder) {
    int count = 0;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(folder, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        ++count;
    return count;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAddressSanitizer = true;
#else
constexpr bool kUnderAddressSanitizer = false;
#endif

long residentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

std::string outcomeText(const Outcome& o) {
    std::string text = "result " + std::to_string(o.result) + ", ";
    return text + (o.message.empty() ? "no message" : "message \"" + o.message + "\"");
}

}  // namespace

ProcessProbe probeProcess() {
    const struct mallinfo2 heap = mallinfo2();
    return {countEntries("/proc/self/fd"), countEntries("/proc/self/task"), residentKiB(),
            static_cast<long>(heap.uordblks + heap.hblkhd)};
}

double answerTimeoutSeconds(Link link) {
    return link == Link::Tcp ? kTcpTakeTimeoutMs / 1000.0 : kSerialAnswerTimeoutSeconds;
}

double waitBoundSeconds(Link link) {
    return answerTimeoutSeconds(link) + kConnectBoundSeconds;
}

std::string SoakTally::describe(int number, const Planned& t, LinkMode mode) {
    std::string text = "#" + std::to_string(number) + " " + kModeNames[static_cast<int>(mode)] +
                       " " + kindName(t.kind);
    if (t.kind == Kind::ReadPreset || t.kind == Kind::WritePreset)
        text += " " + std::to_string(t.preset);
    if (t.kind == Kind::Levels)
        text += " " + std::to_string(t.selector);
    return text + ", fault " + describeFault(t.fault);
}

std::string SoakTally::describeResult(int result, const std::vector<std::string>& messages) {
    std::string text = "result " + std::to_string(result) + ", ";
    if (messages.empty())
        return text + "no message";
    for (std::size_t i = 0; i < messages.size(); ++i)
        text += (i > 0 ? " + " : "") + std::string("message \"") + messages[i] + "\"";
    return text;
}

void SoakTally::add(int number, const Planned& t, LinkMode mode, const Expected& expected,
                    const TransferReport& report) {
    const bool failed = report.result != 0;
    Count& kind = kinds_[static_cast<int>(t.kind)];
    Count& byMode = modes_[static_cast<int>(mode)];
    ++kind.total;
    ++byMode.total;
    kind.failed += failed ? 1 : 0;
    byMode.failed += failed ? 1 : 0;
    const int fault = static_cast<int>(t.fault.kind);
    ++faults_[fault];
    if (t.fault.kind != FaultKind::None) {
        const Effect effect = faultEffect(mode, stepOf(t.kind, t.fault.step), t.fault);
        ++effects_[fault][static_cast<int>(effect)];
    }
    if (expected.cut && report.matched >= 0) {
        ++cut_;
        const Outcome& o = expected.accepted[static_cast<std::size_t>(report.matched)];
        if (o.result == 0)
            ++cutServed_;
        else
            ++cutTimeout_;
    }
    Longest& longest = longest_[static_cast<int>(t.link)];
    if (report.seconds > longest.seconds)
        longest = {report.seconds, describe(number, t, mode)};
    if (report.seconds > waitBoundSeconds(t.link)) {
        char text[64];
        std::snprintf(text, sizeof text, "waited %.2f s", report.seconds);
        unexpected(describe(number, t, mode) + ": " + text);
    }
    std::string problem;
    if (report.matched < 0) {
        problem = describeResult(report.result, report.messages) + "; expected ";
        for (std::size_t i = 0; i < expected.accepted.size(); ++i)
            problem += (i > 0 ? " or " : "") + outcomeText(expected.accepted[i]);
    }
    for (const std::string& p : report.problems)
        problem += (problem.empty() ? "" : "; ") + p;
    if (!problem.empty())
        unexpected(describe(number, t, mode) + ": " + problem);
}

void SoakTally::leaks(const ProcessProbe& start, const ProcessProbe& end, const ProcessProbe& warm,
                      const ProcessProbe& last) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "fds %d -> %d, threads %d -> %d, heap in use %ld -> %ld bytes (tolerance %ld), "
                  "resident %ld -> %ld KiB (tolerance %ld) after the warm-up -> after the last",
                  start.fds, end.fds, start.threads, end.threads, warm.heapBytes, last.heapBytes,
                  kHeapToleranceBytes, warm.rssKiB, last.rssKiB, kResidentToleranceKiB);
    leakLine_ = text;
    if (end.fds != start.fds)
        leaks_.push_back(std::to_string(end.fds - start.fds) + " file descriptors");
    if (end.threads != start.threads)
        leaks_.push_back(std::to_string(end.threads - start.threads) + " threads");
    if (last.heapBytes - warm.heapBytes > kHeapToleranceBytes)
        leaks_.push_back(std::to_string(last.heapBytes - warm.heapBytes) + " bytes of heap");
    // Under AddressSanitizer freed memory waits in its quarantine and the resident set only
    // grows; LeakSanitizer checks the heap at exit there instead.
    if (!kUnderAddressSanitizer && last.rssKiB - warm.rssKiB > kResidentToleranceKiB)
        leaks_.push_back(std::to_string(last.rssKiB - warm.rssKiB) + " KiB resident");
}

void SoakTally::print(std::FILE* out, double elapsedSeconds) const {
    int total = 0;
    for (const Count& c : kinds_)
        total += c.total;
    std::fprintf(out, "transfers: %d in %.0f s, %d simulator runs\n", total, elapsedSeconds,
                 simulatorRuns_);
    for (int k = 0; k < kKindCount; ++k)
        std::fprintf(out, "  %-13s %5d  (%d failed as their fault asked)\n",
                     kindName(static_cast<Kind>(k)), kinds_[k].total, kinds_[k].failed);
    for (int m = 0; m < 3; ++m)
        std::fprintf(out, "  %-16s %5d  (%d failed)\n", kModeNames[m], modes_[m].total,
                     modes_[m].failed);
    std::fprintf(out, "faults by kind:\n");
    for (int f = 0; f < kFaultKindCount; ++f) {
        std::fprintf(out, "  %-12s %5d", faultName(static_cast<FaultKind>(f)), faults_[f]);
        const char* separator = "  (";
        for (int e = 0; e < 6; ++e) {
            if (effects_[f][e] == 0)
                continue;
            std::fprintf(out, "%s%s %d", separator, effectName(static_cast<Effect>(e)),
                         effects_[f][e]);
            separator = ", ";
        }
        std::fprintf(out, "%s\n", separator[0] == ',' ? ")" : "");
    }
    std::fprintf(out, "cut serial frames: %d (shown as the time-out %d, served %d)\n", cut_,
                 cutTimeout_, cutServed_);
    std::fprintf(out, "unexpected results: %zu\n", unexpected_.size());
    for (std::size_t i = 0; i < unexpected_.size() && i < kPrintedUnexpected; ++i)
        std::fprintf(out, "  %s\n", unexpected_[i].c_str());
    if (unexpected_.size() > kPrintedUnexpected)
        std::fprintf(out, "  ... and %zu more\n", unexpected_.size() - kPrintedUnexpected);
    std::fprintf(out, "leaks: %s: %s\n", leakLine_.c_str(), leaks_.empty() ? "none" : "");
    for (const std::string& leak : leaks_)
        std::fprintf(out, "  leaked %s\n", leak.c_str());
    std::fprintf(out, "longest wait of a single transfer:\n");
    for (const Link link : {Link::Tcp, Link::Pty}) {
        const Longest& l = longest_[static_cast<int>(link)];
        if (l.what.empty())
            continue;
        std::fprintf(out,
                     "  %s %.2f s, bound %.2f s (answer time-out %.2f s + connect %.2f s): %s\n",
                     kLinkNames[static_cast<int>(link)], l.seconds, waitBoundSeconds(link),
                     answerTimeoutSeconds(link), kConnectBoundSeconds, l.what.c_str());
    }
}

}  // namespace q93::soak
