#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "protocol/device_connection.h"
#include "protocol/parameter_set.h"
#include "tests/support/config_home.h"
#include "tests/support/recording_seam.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"

namespace q93::test {

// How a test reaches q93sim: over TCP, or over a pseudo-terminal with or without
// acknowledgements.
struct Transport {
    const char* name;
    bool tcp;
    bool ack;
};
inline void PrintTo(const Transport& transport, std::ostream* out) {
    *out << transport.name;
}

// The serial port name the tests map onto the simulator's pseudo-terminal.
inline constexpr const char* kSimPortName = "COM5";

// q93sim with its memory in a fresh encoder folder, and the INI mapping that lets the
// serial link open its pseudo-terminal as COM5. Restores XDG_CONFIG_HOME when it ends.
class SimEncoder {
public:
    explicit SimEncoder(const Transport& transport, const std::vector<std::string>& extra = {});

    bool ready() const { return sim_->ready(); }
    std::string error() const { return sim_->error() + "\n" + sim_->stderrText(); }
    // What the simulator wrote on stderr so far: with --verbose, a line for every request.
    std::string log() const { return sim_->stderrText(); }
    // SetParameters with the values that reach this simulator.
    void configure(DeviceConnection& connection) const;
    // The connection values as q93ctl options.
    std::vector<std::string> connectionOptions() const;

    // What the simulator holds now, from its encoder folder.
    PresetParameters preset(int n) const;
    DeviceParameters device() const;
    const std::filesystem::path& storeDir() const { return store_.path(); }
    // What the simulator holds once `holds` accepts it, or after 10 s what it holds then. A
    // write without acknowledgements returns before the simulator has taken the last frames,
    // so a check of what it holds right after one waits for what it needs.
    PresetParameters presetOnce(int n,
                                const std::function<bool(const PresetParameters&)>& holds) const;
    DeviceParameters deviceOnce(const std::function<bool(const DeviceParameters&)>& holds) const;

private:
    Transport transport_;
    TempDir store_;
    std::unique_ptr<SimProcess> sim_;
    std::unique_ptr<ConfigHome> config_;
};

// Every transferred field of two blocks agrees, reals as the wire's floats carry them.
template <typename Block, typename Steps>
bool sameFields(const Block& got, const Block& want, const Steps& steps) {
    for (const auto& step : steps) {
        if (step.real != nullptr
                ? got.*step.real != static_cast<double>(static_cast<float>(want.*step.real))
                : got.*step.integer != want.*step.integer)
            return false;
    }
    return true;
}

// Distinct values for every transferred field of a block, each exact as a float and within
// its wire type, so that a field landing in the wrong place shows.
PresetParameters distinctPreset(int seed);
DeviceParameters distinctDevice(int seed);

// Values within the range of every transferred field, varied by the seed and exact as
// floats; the preset's dBu level in range at the given sensitivity.
PresetParameters inRangePreset(int seed, double sensitivity40k);
DeviceParameters inRangeDevice(int seed);

}  // namespace q93::test
