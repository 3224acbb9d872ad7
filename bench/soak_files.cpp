#include "bench/soak_files.h"

#include "protocol/parameter_files.h"
#include "store/location_store.h"
#include "tests/support/temp_dir.h"

namespace q93::soak {
namespace {

constexpr const char* kSite = "Soak";

const char* encoderName(Link link) {
    return link == Link::Tcp ? "tcp" : "serial";
}

std::string asText(const auto& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

LocationFiles::LocationFiles(const std::filesystem::path& root) : root_(root) {
    const std::string rootText = root_.string() + "/";
    for (const Link link : {Link::Tcp, Link::Pty}) {
        std::string error;
        CreateEncoderFolder(kSite, encoderName(link), rootText, &error);
        // Stored values that differ from the encoder's, so that a read that leaves a field
        // alone, or fills it, shows.
        PresetParameters preset;
        for (int n = 1; n <= kPresetsPerEncoder; ++n) {
            preset.inputSource = 100 + n;
            preset.pilotLevel = 1000.0 + n;
            preset.presetNumber = n;
            savePreset(link, n, preset);
        }
        DeviceParameters device;
        device.frontBaud = 77;
        device.sensitivity40k = 99.5;
        saveDevice(link, device);
    }
}

std::string LocationFiles::encoderFolder(Link link) const {
    return EncoderFolderPath(kSite, encoderName(link), root_.string() + "/");
}

ConnectionSettings LocationFiles::connection(Link link) const {
    ConnectionSettings settings;
    ReadConnectionSettings(encoderFolder(link), settings);
    return settings;
}

PresetParameters LocationFiles::preset(Link link, int n) const {
    PresetParameters preset;
    readPresetFile(presetFilePath(encoderFolder(link), n), preset);
    // As the location store does: the number comes from the file name.
    preset.presetNumber = n;
    return preset;
}

DeviceParameters LocationFiles::device(Link link) const {
    DeviceParameters device;
    readDeviceFile(deviceFilePath(encoderFolder(link)), device);
    return device;
}

std::string LocationFiles::saveConnection(Link link, const ConnectionSettings& settings) {
    const std::string folder = encoderFolder(link);
    if (!WriteConnectionSettings(folder, settings))
        return "tcp.txt could not be saved";
    // tcp.txt has no block to compare with; what it reads back as must be what was saved.
    const ConnectionSettings back = connection(link);
    const bool same = back.ipAddress == settings.ipAddress && back.tcpPort == settings.tcpPort &&
                      back.portName == settings.portName &&
                      back.speedIndex == settings.speedIndex && back.readAck == settings.readAck;
    const std::string path = folder + "tcp.txt";
    bytes_[path] = test::readFileBytes(path);
    return same ? "" : "tcp.txt reads back other settings than were saved";
}

std::string LocationFiles::savePreset(Link link, int n, const PresetParameters& preset) {
    const std::string path = presetFilePath(encoderFolder(link), n);
    if (!writePresetFile(path, preset))
        return path + " could not be saved";
    return remember(path, asText(encodePreset(preset)));
}

std::string LocationFiles::saveDevice(Link link, const DeviceParameters& device) {
    const std::string path = deviceFilePath(encoderFolder(link));
    if (!writeDeviceFile(path, device))
        return path + " could not be saved";
    return remember(path, asText(encodeDevice(device)));
}

std::string LocationFiles::remember(const std::string& path, const std::string& expected) {
    bytes_[path] = test::readFileBytes(path);
    return bytes_[path] == expected ? "" : path + " holds other bytes than the block saved";
}

std::map<std::string, std::string> LocationFiles::snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root_)) {
        if (entry.is_regular_file())
            files[entry.path().string()] = test::readFileBytes(entry.path().string());
    }
    return files;
}

std::string LocationFiles::changes() const {
    const std::map<std::string, std::string> now = snapshot();
    std::string changed;
    for (const auto& [path, bytes] : now) {
        const auto known = bytes_.find(path);
        if (known == bytes_.end()) {
            changed += " " + path + " (new)";
        } else if (known->second != bytes) {
            changed += " " + path;
        }
    }
    for (const auto& [path, bytes] : bytes_) {
        if (now.find(path) == now.end())
            changed += " " + path + " (gone)";
    }
    return changed;
}

}  // namespace q93::soak
