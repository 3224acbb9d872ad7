#pragma once

#include <array>
#include <string>
#include <vector>

#include "protocol/connection_settings.h"
#include "protocol/parameter_set.h"

namespace q93 {

// Everything kept between runs lies under this folder of the working directory: one folder
// a site, one folder an encoder inside it.
inline constexpr const char* kLocationRoot = "./LocationData/";
inline constexpr int kPresetsPerEncoder = 8;

struct EncoderFolder {
    std::string name;   // the folder's own name, which the label no longer gives back
    std::string label;  // "%s - %s" once tcp.txt was read, else the folder name
    bool hasConnection = false;
};

struct SiteFolder {
    std::string name;
    std::vector<EncoderFolder> encoders;
};

// The sub-folders of a folder in byte order of their names (those whose names start with a
// dot, "." and ".." among them, and plain files left out); empty when the folder cannot be listed.
// Linux lists entries in no useful order, so sorting keeps the tree the same on every machine and
// every run.
std::vector<std::string> listFolders(const std::string& path);

// Every site and encoder under `root` (kLocationRoot by default), reading each encoder's
// tcp.txt on the way for its label; `settings` ends holding the last one read.
std::vector<SiteFolder> scanLocationData(ConnectionSettings& settings,
                                         const std::string& root = kLocationRoot);

// "./LocationData/site/encoder/", with the closing separator.
std::string EncoderFolderPath(const std::string& site, const std::string& encoder,
                              const std::string& root = kLocationRoot);

// The tree label of an encoder folder: "%s - %s" with the port name, or the IP address
// when the port name is "TCP/IP".
std::string encoderLabel(const std::string& folder, const ConnectionSettings& settings);

// "Preset-%d", the label of a preset node, and the file name its label gives.
std::string presetLabel(int number);
std::string presetFileName(const std::string& presetLabel);
// The preset a node stands for, from its label ("Preset-5" gives 5); 0 when it names none.
int presetNumberFromLabel(const std::string& presetLabel);

// tcp.txt of an encoder folder: 0, or -1 when it cannot be opened (the three texts are then
// empty and the two numbers keep their values).
int ReadConnectionSettings(const std::string& encoderFolder, ConnectionSettings& settings);
// Writes tcp.txt beside the old one and renames it over; false, leaving the old file, when
// that fails.
bool WriteConnectionSettings(const std::string& encoderFolder, const ConnectionSettings& settings);

// Whether a text can stand as one site or encoder folder: not empty, not starting with a dot
// (so never "." or "..", nor a folder the listing passes over), and without '/' (or a NUL),
// so that it can never name a path outside its parent.
bool isFolderName(const std::string& name);

// Creates the encoder folder, and its site folder when missing. false with the reason in
// *error when it cannot.
bool CreateEncoderFolder(const std::string& site, const std::string& encoder,
                         const std::string& root, std::string* error);

// The stored files of an encoder folder.
inline constexpr const char* kDeviceFileName = "device.dat";
std::string deviceFilePath(const std::string& encoderFolder);
std::string presetFilePath(const std::string& encoderFolder, int number);

// Which of device.dat and Preset-1.dat..Preset-8.dat an encoder folder holds.
struct StoredFiles {
    bool device = false;
    std::array<bool, kPresetsPerEncoder> presets{};
};
StoredFiles findStoredFiles(const std::string& encoderFolder);
// Whether one stored file (device.dat or a preset file) exists as a file.
bool isStoredFile(const std::string& path);

// The nine files of one encoder as one backup: all nine are replaced, or none is. Every file
// is first written in full beside its old one, and only when all nine are on the disk are
// they renamed over the old ones; a rename that fails part way puts back what it had
// replaced. false then, with the reason. The caller holds the encoder's lock (EncoderLock),
// so that no other process writes the folder meanwhile.
bool ReplaceEncoderFiles(const std::string& encoderFolder, const DeviceParameters& device,
                         const std::array<PresetParameters, kPresetsPerEncoder>& presets,
                         std::string* error);

}  // namespace q93
