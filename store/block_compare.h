#pragma once

#include <string>
#include <vector>

#include "protocol/parameter_set.h"

namespace q93 {

// One transferred field whose values in two blocks differ (stored against encoder, or an
// older version against a newer one), both as the pages show them: one decimal, levels in kHz or
// dBu as the device's unit says, lists and switches as their numbers.
struct FieldDifference {
    std::string file;  // "device.dat", "Preset-3.dat"
    std::string field;
    std::string stored;   // the first block's value
    std::string encoder;  // the second block's value
    std::string unit;     // "" for lists, switches and counts
};

// The fields the transfers move, compared as they travel (floats as 32-bit floats), so a
// value the encoder cannot hold more exactly never shows as a difference. Levels are shown
// with the unit and sensitivity of `units`.
std::vector<FieldDifference> compareDevice(const DeviceParameters& stored,
                                           const DeviceParameters& encoder,
                                           const DeviceParameters& units);
std::vector<FieldDifference> comparePreset(int number, const PresetParameters& stored,
                                           const PresetParameters& encoder,
                                           const DeviceParameters& units);

}  // namespace q93
