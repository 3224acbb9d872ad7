#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/soak_plan.h"
#include "protocol/clock_values.h"
#include "protocol/parameter_set.h"
#include "store/location_store.h"
#include "tests/support/sim_process.h"

namespace q93::soak {

using SteadyClock = std::chrono::steady_clock;

// The encoder's clock as last set: calendar seconds (the fields read as UTC) that it held at
// some moment between setFrom and setUntil, and runs on from there. From the host's local
// time at start-up the seconds are only known to the second.
struct HeldClock {
    std::int64_t seconds = 0;
    int offsetCode = 0;
    SteadyClock::time_point setFrom{};
    SteadyClock::time_point setUntil{};
    bool fromHost = true;
};

// Calendar seconds of clock fields, with the two-digit year read as the encoder reads it.
std::int64_t clockSeconds(const ClockValues& values);
// Whether a clock read between readFrom and readUntil may give these values.
bool clockFits(const HeldClock& held, const ClockValues& read, SteadyClock::time_point readFrom,
               SteadyClock::time_point readUntil);

// q93sim beside this program as the soak's encoder: one run with a store folder, the line
// style of a segment and its faults at their request numbers. What it holds is read back
// from that folder, which it rewrites after every set command, and it goes on from there
// in the next run.
class SoakEncoder {
public:
    SoakEncoder(const std::filesystem::path& store, const LineStyle& line,
                const std::vector<std::string>& faults, bool tcp, bool pty);

    bool ready() const { return sim_.ready(); }
    const std::string& error() const { return sim_.error(); }
    const test::SimProcess& process() const { return sim_; }

    // The preset and device blocks the encoder holds, as its folder gives them, and the
    // status values it derives from them.
    std::array<PresetParameters, kPresetsPerEncoder> presets{};
    DeviceParameters device{};
    HeldClock clock;
    DeviceStatus status() const;
    const PresetParameters& activePreset() const;

    // The files of the folder that do not hold the blocks above, by name; empty when all do.
    std::string storeDifference() const;
    // Takes the blocks from the folder again; false when a file is missing or short.
    bool reloadHeld();
    // Stops the run; the lines of its log that say a request arrived damaged or unknown.
    std::vector<std::string> stop();

private:
    std::filesystem::path store_;
    test::SimProcess sim_;
};

// The arguments of a run: the line style and, for each per-request fault, "--fault" and
// its text with the request number.
std::vector<std::string> lineArguments(const LineStyle& line);
std::string faultArgument(const Fault& fault, int requestNumber);

}  // namespace q93::soak
