#pragma once

#include <filesystem>
#include <string>

#include "sim/encoder_model.h"

namespace q93::sim {

// The encoder's memory as an encoder folder of the location store: device.dat and
// Preset-1.dat to Preset-8.dat, in the tool's file format.
class EncoderStore {
public:
    explicit EncoderStore(std::filesystem::path dir) : dir_(std::move(dir)) {}

    // Creates the folder when missing, loads every file there is into the model and writes
    // the factory values of the files that are missing, so the folder is complete after.
    // False with a reason when the folder cannot be made or a file cannot be written.
    bool open(EncoderModel& model, std::string* error);

    bool savePreset(const EncoderModel& model, int n) const;
    bool saveDevice(const EncoderModel& model) const;

    std::string presetPath(int n) const;
    std::string devicePath() const;
    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
};

}  // namespace q93::sim
