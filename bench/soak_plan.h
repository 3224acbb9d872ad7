#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace q93::soak {

enum class Link { Tcp, Pty };
// How the tool meets the encoder on a link: the pseudo-terminal with or without
// acknowledgements, decided per simulator run.
enum class LinkMode { Tcp, PtyAck, PtyNoAck };

enum class Kind { ReadPreset, WritePreset, ReadDevice, WriteDevice, ReadClock, WriteClock, Levels };
inline constexpr int kKindCount = 7;
const char* kindName(Kind kind);

// The per-request faults of q93sim, by its own names.
enum class FaultKind {
    None,
    DropAnswer,
    DropAck,
    WrongCode,
    BadCrc,
    Garbage,
    NoEnd,
    Oversize,
    Close
};
inline constexpr int kFaultKindCount = 9;
const char* faultName(FaultKind kind);

// A fault on one request of a transfer: step counts the transfer's requests from 1; amount is
// the garbage bytes or the oversize wire length.
struct Fault {
    FaultKind kind = FaultKind::None;
    int step = 0;
    int amount = 0;
};
std::string describeFault(const Fault& fault);

struct Planned {
    Link link = Link::Tcp;
    Kind kind = Kind::ReadPreset;
    int preset = 1;    // 1-8, for the preset transfers
    int selector = 0;  // 0 or 1, for the level query
    Fault fault;
};

// What every reply of one simulator run goes through.
struct LineStyle {
    bool serialAck = true;
    int delayMs = 0;
    int trickleMs = 0;
    int baud = 0;  // pseudo-terminal pacing; 0 for none
};
std::string describeLine(const LineStyle& line);
LinkMode linkMode(Link link, const LineStyle& line);

// One simulator run's share of the transfers. A run ends where a fault silences the
// pseudo-terminal for good.
struct Segment {
    LineStyle line;
    std::vector<Planned> transfers;
};

struct PlanOptions {
    int transfers = 5000;
    std::uint64_t seed = 1;
    bool tcp = true;
    bool pty = true;
};

std::vector<Segment> planSoak(const PlanOptions& options);

// The requests a transfer sends when none of them fails.
int requestCount(Kind kind);

}  // namespace q93::soak
