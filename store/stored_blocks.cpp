#include "store/stored_blocks.h"

#include <filesystem>
#include <system_error>

#include "protocol/parameter_files.h"

namespace q93 {

EncoderBlocks readStoredBlocks(const std::string& encoderFolder) {
    EncoderBlocks blocks;
    readDeviceFile(deviceFilePath(encoderFolder), blocks.device);
    for (int n = 1; n <= kPresetsPerEncoder; ++n)
        readPresetFile(presetFilePath(encoderFolder, n), blocks.presets[n - 1]);
    return blocks;
}

bool readStoredDevice(const std::string& encoderFolder, DeviceParameters& device,
                      std::string* error) {
    if (readWholeDeviceFile(deviceFilePath(encoderFolder), device, error))
        return true;
    *error += " (backup stores what the encoder holds)";
    return false;
}

bool readStoredPreset(const std::string& encoderFolder, int number, PresetParameters& preset,
                      std::string* error) {
    if (!readWholePresetFile(presetFilePath(encoderFolder, number), preset, error)) {
        *error += " (backup stores what the encoder holds)";
        return false;
    }
    preset.presetNumber = number;
    return true;
}

bool readBlockFile(const std::string& path, BlockFile& file, std::string* error) {
    std::error_code code;
    const auto size = std::filesystem::file_size(path, code);
    if (code) {
        *error = "cannot read '" + path + "': " + code.message();
        return false;
    }
    if (size == kPresetBlockSize) {
        file.isPreset = true;
        return readWholePresetFile(path, file.preset, error);
    }
    if (size == kDeviceBlockSize) {
        file.isPreset = false;
        return readWholeDeviceFile(path, file.device, error);
    }
    *error = "'" + path + "' holds " + std::to_string(size) +
             " bytes: neither a preset file (200 bytes) nor a device file (296 bytes)";
    return false;
}

std::optional<double> sensitivityBeside(const std::string& file) {
    const std::string folder = std::filesystem::path(file).parent_path().string();
    DeviceParameters device;
    std::string ignored;
    if (!readWholeDeviceFile(deviceFilePath(folder.empty() ? "" : folder + "/"), device, &ignored))
        return std::nullopt;
    return usableSensitivity(device);
}

std::vector<RangeViolation> choiceOutOfRange(const EncoderBlocks& blocks, const BlockChoice& choice,
                                             std::optional<double> sensitivity40k) {
    std::vector<RangeViolation> found;
    auto add = [&found](const std::string& file, std::vector<RangeViolation> fields) {
        for (RangeViolation& field : fields) {
            field.field = file + ":" + field.field;
            found.push_back(std::move(field));
        }
    };
    if (choice.device)
        add(kDeviceFileName, deviceOutOfRange(blocks.device));
    for (const int n : choice.presets)
        add(presetFileName(presetLabel(n)),
            presetOutOfRange(blocks.presets[n - 1], sensitivity40k));
    return found;
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

}  // namespace q93
