#pragma once

#include <span>

#include "protocol/device_connection.h"
#include "protocol/parameter_set.h"
#include "protocol/transfer_steps.h"

namespace q93 {

// Move a preset block between the tool and the encoder, addressing preset presetNumber of
// the block in the long command form. 0, or -1 after the failure was shown.
int ReadPreset(DeviceConnection& connection, PresetParameters& preset);
int WritePreset(DeviceConnection& connection, const PresetParameters& preset);

// The 28 steps of each, in the order they run.
std::span<const steps::ReadStep<PresetParameters>> presetReadSteps();
std::span<const steps::WriteStep<PresetParameters>> presetWriteSteps();

}  // namespace q93
