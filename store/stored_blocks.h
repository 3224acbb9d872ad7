#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "protocol/parameter_ranges.h"
#include "protocol/parameter_set.h"
#include "store/location_store.h"

namespace q93 {

// The nine blocks of one encoder folder.
struct EncoderBlocks {
    DeviceParameters device;
    std::array<PresetParameters, kPresetsPerEncoder> presets{};
};

// What the folder holds, as the start of a backup: a missing file leaves its block zero, so
// that what the encoder never sends (correction values, delays) keeps what was stored.
EncoderBlocks readStoredBlocks(const std::string& encoderFolder);

// The stored files a diff or a restore works from: each must be there, of its exact size.
// false with the message otherwise.
bool readStoredDevice(const std::string& encoderFolder, DeviceParameters& device,
                      std::string* error);
bool readStoredPreset(const std::string& encoderFolder, int number, PresetParameters& preset,
                      std::string* error);

// Which blocks a diff or restore covers: --device and --presets LIST, or all nine when
// neither is given.
struct BlockChoice {
    bool device = true;
    std::vector<int> presets{1, 2, 3, 4, 5, 6, 7, 8};
};

// Every stored file the choice covers, each checked before any is used.
bool readStoredChoice(const std::string& encoderFolder, const BlockChoice& choice,
                      EncoderBlocks& blocks, std::string* error);

// A file holding one block of either kind, told apart by its size.
struct BlockFile {
    bool isPreset = false;
    PresetParameters preset;
    DeviceParameters device;
};
// false with the message when the file cannot be read or has neither size.
bool readBlockFile(const std::string& path, BlockFile& file, std::string* error);

// The sensitivity of the device.dat in the same folder as `file`, when there is a whole one
// and its sensitivity is in range: the presets' dBu levels are judged at it.
std::optional<double> sensitivityBeside(const std::string& file);

// The fields out of range in the blocks a choice covers, each named "FILE:FIELD".
std::vector<RangeViolation> choiceOutOfRange(const EncoderBlocks& blocks, const BlockChoice& choice,
                                             std::optional<double> sensitivity40k);

}  // namespace q93
