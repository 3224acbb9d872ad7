#pragma once

#include <span>

#include "protocol/device_connection.h"
#include "protocol/parameter_set.h"
#include "protocol/transfer_steps.h"

namespace q93 {

// Move a device block between the tool and the encoder in the short command form; the read
// also fills the four status values. 0, or -1 after the failure was shown.
int ReadDevice(DeviceConnection& connection, DeviceParameters& device, DeviceStatus& status);
int WriteDevice(DeviceConnection& connection, const DeviceParameters& device);

// The steps of each, in the order they run: the 12 settings read, then the 4 status values.
std::span<const steps::ReadStep<DeviceParameters>> deviceReadSteps();
std::span<const steps::ReadStep<DeviceStatus>> statusReadSteps();
std::span<const steps::WriteStep<DeviceParameters>> deviceWriteSteps();

}  // namespace q93
