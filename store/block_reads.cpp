#include "store/block_reads.h"

#include "protocol/device_transfer.h"
#include "protocol/preset_transfer.h"

namespace q93 {
namespace {

// Holds the parameter set's two blocks and puts them back when it ends.
class LentBlocks {
public:
    LentBlocks() : preset_(parameterSet().preset), device_(parameterSet().device) {}
    ~LentBlocks() {
        parameterSet().preset = preset_;
        parameterSet().device = device_;
    }
    LentBlocks(const LentBlocks&) = delete;
    LentBlocks& operator=(const LentBlocks&) = delete;

private:
    PresetParameters preset_;
    DeviceParameters device_;
};

}  // namespace

int ReadDeviceInto(DeviceConnection& connection, DeviceParameters& block) {
    const LentBlocks lent;
    parameterSet().device = block;
    const int result = ReadDevice(connection);
    if (result == 0)
        block = parameterSet().device;
    return result;
}

int ReadPresetInto(DeviceConnection& connection, int number, PresetParameters& block) {
    const LentBlocks lent;
    ParameterSet& set = parameterSet();
    set.preset = block;
    set.preset.presetNumber = number;
    const int result = ReadPreset(connection);
    if (result == 0)
        block = set.preset;
    return result;
}

}  // namespace q93
