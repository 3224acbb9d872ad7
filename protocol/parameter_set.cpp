#include "protocol/parameter_set.h"

namespace q93 {

void ParameterSet::reset() {
    preset = PresetParameters{};
    device = DeviceParameters{};
    status = DeviceStatus{};
    for (auto& value : levels.levelSet0)
        value = 0.0;
    for (auto& value : levels.levelSet1)
        value = 0.0;
}

}  // namespace q93
