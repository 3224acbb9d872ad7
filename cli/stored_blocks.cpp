#include "cli/stored_blocks.h"

#include "protocol/parameter_files.h"

namespace q93::ctl {

EncoderBlocks readStoredBlocks(const std::string& encoderFolder) {
    EncoderBlocks blocks;
    readDeviceFile(deviceFilePath(encoderFolder), blocks.device);
    for (int n = 1; n <= kPresetsPerEncoder; ++n)
        readPresetFile(presetFilePath(encoderFolder, n), blocks.presets[n - 1]);
    return blocks;
}

bool readStoredDevice(const std::string& encoderFolder, DeviceParameters& device,
                      std::string* error) {
    const std::string path = deviceFilePath(encoderFolder);
    if (readDeviceFile(path, device) != static_cast<int>(kDeviceBlockSize)) {
        *error = "no stored device file of 296 bytes: '" + path + "' (run backup first)";
        return false;
    }
    return true;
}

bool readStoredPreset(const std::string& encoderFolder, int number, PresetParameters& preset,
                      std::string* error) {
    const std::string path = presetFilePath(encoderFolder, number);
    if (readPresetFile(path, preset) != static_cast<int>(kPresetBlockSize)) {
        *error = "no stored preset file of 200 bytes: '" + path + "' (run backup first)";
        return false;
    }
    preset.presetNumber = number;
    return true;
}

bool readStoredChoice(const std::string& encoderFolder, const BlockChoice& choice,
                      EncoderBlocks& blocks, std::string* error) {
    if (choice.device && !readStoredDevice(encoderFolder, blocks.device, error))
        return false;
    for (const int n : choice.presets) {
        if (!readStoredPreset(encoderFolder, n, blocks.presets[n - 1], error))
            return false;
    }
    return true;
}

}  // namespace q93::ctl
