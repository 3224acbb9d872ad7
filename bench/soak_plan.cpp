#include "bench/soak_plan.h"

#include <random>

#include "protocol/device_transfer.h"
#include "protocol/preset_transfer.h"

namespace q93::soak {
namespace {

// One transfer in this many carries a fault. A fault that ends in a time-out costs a second
// on TCP and two and a half on the serial line, and those set the run time: at this rate,
// with the weights below, 5000 transfers take about ten minutes.
constexpr int kFaultOneIn = 7;

struct Weighted {
    int weight;
    int value;
};

template <std::size_t N>
int pick(std::mt19937_64& rng, const Weighted (&table)[N]) {
    int total = 0;
    for (const Weighted& w : table)
        total += w.weight;
    int at = std::uniform_int_distribution<int>(0, total - 1)(rng);
    for (const Weighted& w : table) {
        if (at < w.weight)
            return w.value;
        at -= w.weight;
    }
    return table[0].value;
}

constexpr Weighted kKinds[] = {
    {3, static_cast<int>(Kind::ReadPreset)}, {2, static_cast<int>(Kind::WritePreset)},
    {2, static_cast<int>(Kind::ReadDevice)}, {2, static_cast<int>(Kind::WriteDevice)},
    {1, static_cast<int>(Kind::ReadClock)},  {1, static_cast<int>(Kind::WriteClock)},
    {2, static_cast<int>(Kind::Levels)},
};

// The faults that answer at once are weighted above those that wait for a time-out.
constexpr Weighted kFaults[] = {
    {2, static_cast<int>(FaultKind::DropAnswer)}, {2, static_cast<int>(FaultKind::DropAck)},
    {4, static_cast<int>(FaultKind::WrongCode)},  {3, static_cast<int>(FaultKind::BadCrc)},
    {3, static_cast<int>(FaultKind::Garbage)},    {1, static_cast<int>(FaultKind::NoEnd)},
    {4, static_cast<int>(FaultKind::Oversize)},   {1, static_cast<int>(FaultKind::Close)},
};

// Sizes on both sides of what each link takes: 764 bytes before a start byte and 765-byte
// frames on the serial line, 511-byte frames on TCP.
constexpr int kGarbage[] = {1, 16, 200, 764, 765, 900};
constexpr int kOversize[] = {64, 300, 511, 512, 765, 766, 1000, 1400};
// On a paced or slowed line the tail of a cut frame would still be arriving when the next
// transfer opens the port; there only sizes the link takes whole.
constexpr int kGarbageSlow[] = {1, 16, 200};
constexpr int kOversizeSlow[] = {64, 300, 511, 512, 765};

constexpr const char* kKindNames[] = {"read preset", "write preset", "read device", "write device",
                                      "read clock",  "write clock",  "level query"};
constexpr const char* kFaultNames[] = {"none",       "drop-answer", "drop-ack",
                                       "wrong-code", "bad-crc",     "garbage",
                                       "no-end",     "oversize",    "close"};

template <std::size_t N>
int pickOne(std::mt19937_64& rng, const int (&values)[N]) {
    return values[std::uniform_int_distribution<std::size_t>(0, N - 1)(rng)];
}

bool slowLine(const LineStyle& line) {
    return line.delayMs > 0 || line.trickleMs > 0 || line.baud > 0;
}

// Most runs are plain; a few run without acknowledgements on the serial line or on a slowed
// line, and those are kept short because every step takes longer there.
struct SegmentShape {
    LineStyle line;
    int length;
};

SegmentShape pickShape(std::mt19937_64& rng, bool pty) {
    const int roll = std::uniform_int_distribution<int>(0, 99)(rng);
    if (pty && roll < 8)
        return {{false, 0, 0, 0}, 10};
    if (roll < 16)
        return {{true, pickOne(rng, {2, 5, 10, 20}), 0, 0}, 20};
    if (pty && roll < 22)
        return {{true, 0, 0, pickOne(rng, {19200, 38400})}, 20};
    if (roll < 26)
        return {{true, 0, 1, 0}, 10};
    return {{}, 60};
}

Fault pickFault(std::mt19937_64& rng, Kind kind, const LineStyle& line) {
    Fault fault;
    fault.kind = static_cast<FaultKind>(pick(rng, kFaults));
    fault.step = std::uniform_int_distribution<int>(1, requestCount(kind))(rng);
    const bool slow = slowLine(line);
    if (fault.kind == FaultKind::Garbage)
        fault.amount = slow ? pickOne(rng, kGarbageSlow) : pickOne(rng, kGarbage);
    if (fault.kind == FaultKind::Oversize)
        fault.amount = slow ? pickOne(rng, kOversizeSlow) : pickOne(rng, kOversize);
    return fault;
}

}  // namespace

const char* kindName(Kind kind) {
    return kKindNames[static_cast<int>(kind)];
}

const char* faultName(FaultKind kind) {
    return kFaultNames[static_cast<int>(kind)];
}

std::string describeFault(const Fault& fault) {
    if (fault.kind == FaultKind::None)
        return "none";
    std::string text =
        std::string(faultName(fault.kind)) + " at step " + std::to_string(fault.step);
    if (fault.amount > 0)
        text += " (" + std::to_string(fault.amount) + " bytes)";
    return text;
}

std::string describeLine(const LineStyle& line) {
    std::string text = line.serialAck ? "serial ack" : "serial without ack";
    if (line.delayMs > 0)
        text += ", delay " + std::to_string(line.delayMs) + " ms";
    if (line.trickleMs > 0)
        text += ", trickle " + std::to_string(line.trickleMs) + " ms";
    if (line.baud > 0)
        text += ", " + std::to_string(line.baud) + " baud";
    return text;
}

LinkMode linkMode(Link link, const LineStyle& line) {
    if (link == Link::Tcp)
        return LinkMode::Tcp;
    return line.serialAck ? LinkMode::PtyAck : LinkMode::PtyNoAck;
}

int requestCount(Kind kind) {
    switch (kind) {
        case Kind::ReadPreset:
            return static_cast<int>(presetReadSteps().size());
        case Kind::WritePreset:
            return static_cast<int>(presetWriteSteps().size());
        case Kind::ReadDevice:
            return static_cast<int>(deviceReadSteps().size() + statusReadSteps().size());
        case Kind::WriteDevice:
            return static_cast<int>(deviceWriteSteps().size());
        default:
            return 1;
    }
}

std::vector<Segment> planSoak(const PlanOptions& options) {
    std::mt19937_64 rng(options.seed);
    std::vector<Segment> segments;
    int planned = 0;
    while (planned < options.transfers) {
        const SegmentShape shape = pickShape(rng, options.pty);
        Segment segment{shape.line, {}};
        while (static_cast<int>(segment.transfers.size()) < shape.length &&
               planned < options.transfers) {
            Planned t;
            t.link = !options.pty                            ? Link::Tcp
                     : !options.tcp                          ? Link::Pty
                     : std::bernoulli_distribution(0.5)(rng) ? Link::Tcp
                                                             : Link::Pty;
            t.kind = static_cast<Kind>(pick(rng, kKinds));
            t.preset = std::uniform_int_distribution<int>(1, 8)(rng);
            t.selector = std::uniform_int_distribution<int>(0, 1)(rng);
            if (std::uniform_int_distribution<int>(1, kFaultOneIn)(rng) == 1)
                t.fault = pickFault(rng, t.kind, segment.line);
            segment.transfers.push_back(t);
            ++planned;
            // The simulator's serial line stays silent after this; the next run starts anew.
            if (t.link == Link::Pty && t.fault.kind == FaultKind::Close)
                break;
        }
        segments.push_back(std::move(segment));
    }
    return segments;
}

}  // namespace q93::soak
