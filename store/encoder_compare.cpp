#include "store/encoder_compare.h"

#include <optional>

#include "protocol/parameter_files.h"
#include "store/block_reads.h"
#include "store/location_store.h"

namespace q93 {
namespace {

void connect(DeviceConnection& connection, const ConnectionSettings& s) {
    connection.SetParameters(s.portName, s.ipAddress, s.tcpPort, s.speedIndex, s.readAck);
}

std::optional<DeviceParameters> storedDevice(const std::string& folder) {
    DeviceParameters device;
    std::string ignored;
    if (!readWholeDeviceFile(deviceFilePath(folder), device, &ignored))
        return std::nullopt;
    return device;
}

std::optional<PresetParameters> storedPreset(const std::string& folder, int number) {
    PresetParameters preset;
    std::string ignored;
    if (!readWholePresetFile(presetFilePath(folder, number), preset, &ignored))
        return std::nullopt;
    return preset;
}

// The encoder's block read over a connection of its own, starting from the stored one.
bool readDevice(const ConnectionSettings& settings, DeviceParameters& device) {
    DeviceConnection connection;
    connect(connection, settings);
    return ReadDeviceInto(connection, device) == 0;
}

bool readPreset(const ConnectionSettings& settings, int number, PresetParameters& preset) {
    DeviceConnection connection;
    connect(connection, settings);
    return ReadPresetInto(connection, number, preset) == 0;
}

bool addPreset(int number, const PresetParameters& stored, const DeviceParameters& units,
               const ConnectionSettings& settings, std::vector<FieldDifference>& differences) {
    PresetParameters read = stored;
    if (!readPreset(settings, number, read))
        return false;
    const auto more = comparePreset(number, stored, read, units);
    differences.insert(differences.end(), more.begin(), more.end());
    return true;
}

}  // namespace

CompareResult CompareStoredWithEncoder(const std::string& encoderFolder, int preset,
                                       const ConnectionSettings& settings,
                                       std::vector<FieldDifference>& differences) {
    differences.clear();
    const std::optional<DeviceParameters> device = storedDevice(encoderFolder);
    if (preset > 0) {
        const std::optional<PresetParameters> stored = storedPreset(encoderFolder, preset);
        if (!stored)
            return CompareResult::NothingStored;
        DeviceParameters units = device.value_or(DeviceParameters{});
        if (!device && !readDevice(settings, units))
            return CompareResult::ReadFailed;
        return addPreset(preset, *stored, units, settings, differences) ? CompareResult::Compared
                                                                        : CompareResult::ReadFailed;
    }
    if (!device)
        return CompareResult::NothingStored;
    DeviceParameters read = *device;
    if (!readDevice(settings, read))
        return CompareResult::ReadFailed;
    differences = compareDevice(*device, read, *device);
    for (int n = 1; n <= kPresetsPerEncoder; ++n) {
        const std::optional<PresetParameters> stored = storedPreset(encoderFolder, n);
        if (stored && !addPreset(n, *stored, *device, settings, differences))
            return CompareResult::ReadFailed;
    }
    return CompareResult::Compared;
}

}  // namespace q93
