#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/location_store.h"
#include "protocol/parameter_set.h"

namespace q93::ctl {

// The nine blocks of one encoder folder.
struct EncoderBlocks {
    DeviceParameters device;
    std::array<PresetParameters, kPresetsPerEncoder> presets{};
};

// What the folder holds, as the start of a backup: a missing file leaves its block zero, so
// that what the encoder never sends (correction values, delays) keeps what was stored.
EncoderBlocks readStoredBlocks(const std::string& encoderFolder);

// The stored files a diff or a restore works from: each must be there in full. false with
// the message otherwise.
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

}  // namespace q93::ctl
