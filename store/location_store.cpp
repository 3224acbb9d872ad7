#include "store/location_store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/regular_file.h"
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

bool listFolderEntries(const std::string& path, std::vector<FolderEntry>& entries,
                       std::string* error, bool mayBeMissing) {
    entries.clear();
    std::error_code code;
    std::filesystem::directory_iterator it(path, code);
    if (code) {
        if (mayBeMissing && code == std::errc::no_such_file_or_directory)
            return true;
        *error = "cannot list '" + path + "': " + code.message();
        return false;
    }
    for (; !code && it != std::filesystem::directory_iterator(); it.increment(code)) {
        std::string name = it->path().filename().string();
        if (name.front() == '.')
            continue;
        std::error_code typeCode;
        const bool folder = it->is_directory(typeCode);
        // A plain file is no folder, nor is a link to nothing (or an entry gone meanwhile);
        // an entry that cannot be looked at may well be one.
        if (!folder && (!typeCode || typeCode == std::errc::no_such_file_or_directory))
            continue;
        FolderEntry entry{std::move(name), {}};
        const std::string entryPath = path + entry.name + "/";
        if (!folder) {
            entry.error = "cannot list '" + entryPath + "': " + typeCode.message();
        } else {
            std::error_code listCode;
            std::filesystem::directory_iterator probe(entryPath, listCode);
            if (listCode)
                entry.error = "cannot list '" + entryPath + "': " + listCode.message();
        }
        entries.push_back(std::move(entry));
    }
    if (code) {
        *error = "cannot list '" + path + "': " + code.message();
        return false;
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return true;
}

std::vector<SiteFolder> scanLocationData(ConnectionSettings& settings, const std::string& root,
                                         std::string* rootError) {
    std::vector<SiteFolder> sites;
    std::vector<FolderEntry> siteEntries;
    std::string error;
    if (!listFolderEntries(root, siteEntries, &error, true)) {
        if (rootError != nullptr)
            *rootError = error;
        return sites;
    }
    if (rootError != nullptr)
        rootError->clear();
    for (FolderEntry& site : siteEntries) {
        SiteFolder& entry = sites.emplace_back(SiteFolder{site.name, {}, site.error});
        std::vector<FolderEntry> encoders;
        if (!entry.error.empty())
            continue;
        if (!listFolderEntries(root + site.name + "/", encoders, &entry.error))
            continue;
        for (FolderEntry& encoder : encoders) {
            EncoderFolder folder{encoder.name, encoder.name, false, encoder.error, {}};
            if (folder.error.empty() &&
                ReadConnectionSettings(EncoderFolderPath(site.name, encoder.name, root), settings,
                                       &folder.error) == 0) {
                folder.hasConnection = true;
                folder.label = encoderLabel(encoder.name, settings);
                folder.doubt = settings.doubt;
            }
            entry.encoders.push_back(std::move(folder));
        }
    }
    return sites;
}

int unreadableFolders(const std::vector<SiteFolder>& sites) {
    int count = 0;
    for (const SiteFolder& site : sites) {
        count += site.error.empty() ? 0 : 1;
        for (const EncoderFolder& encoder : site.encoders)
            count += encoder.error.empty() ? 0 : 1;
    }
    return count;
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

int ReadConnectionSettings(const std::string& encoderFolder, ConnectionSettings& settings,
                           std::string* unreadable) {
    unreadable->clear();
    const std::string path = encoderFolder + kConnectionFile;
    if (readConnectionSettings(path, settings))
        return 0;
    // Only a name that is not there at all is a missing file; anything there that cannot be
    // read, or a folder that cannot be searched for it, is a failure.
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 && errno == ENOENT)
        return -1;
    std::string reason;
    const int fd = openRegularFile(path, &reason);
    if (fd >= 0) {
        ::close(fd);
        reason = "cannot read '" + path + "'";
    }
    *unreadable = reason;
    return -1;
}

ConnectionFault ReadTransferSettings(const std::string& encoderFolder, ConnectionSettings& settings,
                                     std::string* reason) {
    reason->clear();
    if (ReadConnectionSettings(encoderFolder, settings, reason) != 0)
        return reason->empty() ? ConnectionFault::Missing : ConnectionFault::Unreadable;
    if (settings.doubt.empty())
        return ConnectionFault::None;
    *reason = settings.doubt;
    return ConnectionFault::Doubtful;
}

std::string connectionFaultText(const std::string& encoderFolder, ConnectionFault fault,
                                const std::string& reason) {
    switch (fault) {
        case ConnectionFault::None:
            return {};
        case ConnectionFault::Missing:
            return "cannot read '" + encoderFolder + kConnectionFile + "'";
        case ConnectionFault::Unreadable:
            return reason;
        case ConnectionFault::Doubtful:
            return doubtfulConnectionText(encoderFolder + kConnectionFile, reason);
    }
    return {};
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
