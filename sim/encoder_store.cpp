#include "sim/encoder_store.h"

#include "protocol/parameter_files.h"
#include "sim/sim_log.h"

namespace q93::sim {

std::string EncoderStore::presetPath(int n) const {
    return (dir_ / ("Preset-" + std::to_string(n) + ".dat")).string();
}

std::string EncoderStore::devicePath() const { return (dir_ / "device.dat").string(); }

bool EncoderStore::open(EncoderModel& model, std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(dir_, ec);
    if (!std::filesystem::is_directory(dir_)) {
        if (error) *error = "cannot create the store folder " + dir_.string();
        return false;
    }
    if (readDeviceFile(devicePath(), model.device()) < 0) {
        logLine("store: no " + devicePath() + ", writing factory values");
        if (!saveDevice(model)) {
            if (error) *error = "cannot write " + devicePath();
            return false;
        }
    }
    for (int n = 1; n <= kPresetCount; ++n) {
        if (readPresetFile(presetPath(n), model.preset(n)) < 0) {
            logLine("store: no " + presetPath(n) + ", writing factory values");
            if (!savePreset(model, n)) {
                if (error) *error = "cannot write " + presetPath(n);
                return false;
            }
        }
        // As the location store does: the number comes from the file name.
        model.preset(n).presetNumber = n;
    }
    return true;
}

bool EncoderStore::savePreset(const EncoderModel& model, int n) const {
    const bool ok = writePresetFile(presetPath(n), model.preset(n));
    if (!ok) logLine("store: cannot write " + presetPath(n));
    return ok;
}

bool EncoderStore::saveDevice(const EncoderModel& model) const {
    const bool ok = writeDeviceFile(devicePath(), model.device());
    if (!ok) logLine("store: cannot write " + devicePath());
    return ok;
}

}  // namespace q93::sim
