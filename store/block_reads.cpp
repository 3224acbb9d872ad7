#include "store/block_reads.h"

#include "protocol/device_transfer.h"
#include "protocol/preset_transfer.h"

namespace q93 {

int ReadDeviceInto(DeviceConnection& connection, DeviceParameters& block) {
    ParameterSet set;
    set.device = block;
    const int result = ReadDevice(connection, set.device, set.status);
    if (result == 0)
        block = set.device;
    return result;
}

int ReadPresetInto(DeviceConnection& connection, int number, PresetParameters& block) {
    ParameterSet set;
    set.preset = block;
    set.preset.presetNumber = number;
    const int result = ReadPreset(connection, set.preset);
    if (result == 0)
        block = set.preset;
    return result;
}

}  // namespace q93
