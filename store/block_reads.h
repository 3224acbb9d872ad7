#pragma once

#include "protocol/device_connection.h"
#include "protocol/parameter_set.h"

namespace q93 {

// The read transfers into a block of the caller's, through a parameter set of their own, so
// that a comparison or a backup never changes what the pages show. `block` holds the start
// (the stored block, so that what the encoder never sends keeps its value) and receives what
// was read; on failure it keeps the start. 0, or the transfer's failure.
int ReadDeviceInto(DeviceConnection& connection, DeviceParameters& block);
int ReadPresetInto(DeviceConnection& connection, int number, PresetParameters& block);

}  // namespace q93
