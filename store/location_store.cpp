#include "store/location_store.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/replace_file_group.h"
#include "protocol/parameter_files.h"

namespace q93 {
namespace {

constexpr const char* kConnectionFile = "tcp.txt";
constexpr const char* kTcpPortName = "TCP/IP";

bool exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

template <std::size_t N>
std::string_view bytesOf(const std::array<std::uint8_t, N>& block) {
    return {reinterpret_cast<const char*>(block.data()), N};
}

}  // namespace

std::vector<std::string> listFolders(const std::string& path) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(path, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        // A folder whose name starts with a dot is kept by some other tool (the settings
        // history's repository, a file manager's trash): never a site or an encoder.
        std::string name = it->path().filename().string();
        if (name.front() != '.' && it->is_directory(typeError))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<SiteFolder> scanLocationData(ConnectionSettings& settings, const std::string& root) {
    std::vector<SiteFolder> sites;
    for (const std::string& site : listFolders(root)) {
        SiteFolder& entry = sites.emplace_back(SiteFolder{site, {}});
        for (const std::string& encoder : listFolders(root + site + "/")) {
            EncoderFolder folder{encoder, encoder, false};
            if (ReadConnectionSettings(EncoderFolderPath(site, encoder, root), settings) == 0) {
                folder.hasConnection = true;
                folder.label = encoderLabel(encoder, settings);
            }
            entry.encoders.push_back(std::move(folder));
        }
    }
    return sites;
}

std::string EncoderFolderPath(const std::string& site, const std::string& encoder,
                              const std::string& root) {
    return root + site + "/" + encoder + "/";
}

std::string encoderLabel(const std::string& folder, const ConnectionSettings& settings) {
    const std::string& where =
        settings.portName == kTcpPortName ? settings.ipAddress : settings.portName;
    return folder + " - " + where;
}

std::string presetLabel(int number) {
    return "Preset-" + std::to_string(number);
}

std::string presetFileName(const std::string& presetLabel) {
    return presetLabel + ".dat";
}

int presetNumberFromLabel(const std::string& presetLabel) {
    const std::string prefix = "Preset-";
    if (presetLabel.rfind(prefix, 0) != 0)
        return 0;
    return std::atoi(presetLabel.c_str() + prefix.size());
}

int ReadConnectionSettings(const std::string& encoderFolder, ConnectionSettings& settings) {
    return readConnectionSettings(encoderFolder + kConnectionFile, settings) ? 0 : -1;
}

bool WriteConnectionSettings(const std::string& encoderFolder, const ConnectionSettings& settings) {
    return writeConnectionSettings(encoderFolder + kConnectionFile, settings);
}

bool isFolderName(const std::string& name) {
    return !name.empty() && name.front() != '.' &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

bool CreateEncoderFolder(const std::string& site, const std::string& encoder,
                         const std::string& root, std::string* error) {
    std::error_code code;
    const std::string folder = EncoderFolderPath(site, encoder, root);
    std::filesystem::create_directories(folder, code);
    if (code) {
        *error = "cannot create '" + folder + "': " + code.message();
        return false;
    }
    return true;
}

std::string deviceFilePath(const std::string& encoderFolder) {
    return encoderFolder + kDeviceFileName;
}

std::string presetFilePath(const std::string& encoderFolder, int number) {
    return encoderFolder + presetFileName(presetLabel(number));
}

namespace {

// 1 to 8 for "Preset-1.dat" to "Preset-8.dat", else 0.
int storedPresetNumber(const std::string& name) {
    constexpr std::string_view prefix = "Preset-";
    constexpr std::string_view suffix = ".dat";
    if (name.size() != prefix.size() + 1 + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix))
        return 0;
    const int number = name[prefix.size()] - '0';
    return number >= 1 && number <= kPresetsPerEncoder ? number : 0;
}

}  // namespace

StoredFiles findStoredFiles(const std::string& encoderFolder) {
    // One listing rather than nine look-ups: the tree of a large network starts that much
    // sooner. A folder that may be searched but not listed is asked file by file.
    StoredFiles files;
    std::error_code error;
    std::filesystem::directory_iterator it(encoderFolder, error);
    if (error) {
        files.device = exists(deviceFilePath(encoderFolder));
        for (int n = 1; n <= kPresetsPerEncoder; ++n)
            files.presets[n - 1] = exists(presetFilePath(encoderFolder, n));
        return files;
    }
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        const int preset = storedPresetNumber(name);
        if (name != kDeviceFileName && preset == 0)
            continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        if (preset != 0)
            files.presets[preset - 1] = true;
        else
            files.device = true;
    }
    return files;
}

bool isStoredFile(const std::string& path) {
    return exists(path);
}

bool ReplaceEncoderFiles(const std::string& encoderFolder, const DeviceParameters& device,
                         const std::array<PresetParameters, kPresetsPerEncoder>& presets,
                         std::string* error) {
    std::vector<NewFile> files;
    files.push_back({deviceFilePath(encoderFolder), std::string(bytesOf(encodeDevice(device)))});
    for (int n = 1; n <= kPresetsPerEncoder; ++n) {
        files.push_back(
            {presetFilePath(encoderFolder, n), std::string(bytesOf(encodePreset(presets[n - 1])))});
    }
    return replaceFileGroup(files, error);
}

}  // namespace q93
