#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "bench/soak_plan.h"
#include "protocol/connection_settings.h"
#include "protocol/parameter_set.h"

namespace q93::soak {

// The tool's side: a LocationData folder with one encoder reached over TCP and one over the
// serial line, each with its tcp.txt, device file and eight presets, as the location store
// keeps them. Every byte of every file is remembered, so that anything that writes one of
// them without a save being asked for shows.
class LocationFiles {
public:
    explicit LocationFiles(const std::filesystem::path& root);

    std::string encoderFolder(Link link) const;

    // What selecting a node reads.
    ConnectionSettings connection(Link link) const;
    PresetParameters preset(Link link, int n) const;
    DeviceParameters device(Link link) const;

    // Saves asked for: each writes through the location store and remembers the new bytes.
    // Empty, or what went wrong: the save failed or wrote other bytes than the block's.
    std::string saveConnection(Link link, const ConnectionSettings& settings);
    std::string savePreset(Link link, int n, const PresetParameters& preset);
    std::string saveDevice(Link link, const DeviceParameters& device);

    // The files that changed since they were remembered, by path; empty when none did.
    std::string changes() const;

private:
    std::string remember(const std::string& path, const std::string& expected);
    std::map<std::string, std::string> snapshot() const;

    std::filesystem::path root_;
    std::map<std::string, std::string> bytes_;
};

}  // namespace q93::soak
