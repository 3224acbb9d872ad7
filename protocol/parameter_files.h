#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/replace_file.h"
#include "protocol/parameter_set.h"

namespace q93 {

using PresetBytes = std::array<std::uint8_t, kPresetBlockSize>;
using DeviceBytes = std::array<std::uint8_t, kDeviceBlockSize>;

// The stored form of a block: little-endian whatever the host, reserved bytes as held.
PresetBytes encodePreset(const PresetParameters& preset);
DeviceBytes encodeDevice(const DeviceParameters& device);

// Takes the first `length` bytes of a stored block into the record; the rest of the record
// keeps its values, as a short read of a file leaves them.
void decodePreset(const std::uint8_t* bytes, std::size_t length, PresetParameters& preset);
void decodeDevice(const std::uint8_t* bytes, std::size_t length, DeviceParameters& device);

// Whole-file helpers: the number of bytes read, or -1 when the file cannot be opened; writes
// return false when the file cannot be replaced in full. A write goes beside the file and is
// renamed over it, so a failed one leaves the old file byte for byte.
int readPresetFile(const std::string& path, PresetParameters& preset);
int readDeviceFile(const std::string& path, DeviceParameters& device);
// A stored file that must hold exactly one block, as everything that sends or judges a file
// asks: false with a message naming the file, its size and the size it must have, or why it
// cannot be read; the record is then untouched.
bool readWholePresetFile(const std::string& path, PresetParameters& preset, std::string* error);
bool readWholeDeviceFile(const std::string& path, DeviceParameters& device, std::string* error);
bool writePresetFile(const std::string& path, const PresetParameters& preset);
bool writeDeviceFile(const std::string& path, const DeviceParameters& device);

// The preset number a file name gives: the decimal value of the last five characters of
// the path, so "Preset-3.dat" gives 3 and a name ending in 12.dat gives 2.
int presetNumberFromPath(const std::string& path);

}  // namespace q93
