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
    // Why the folder or its tcp.txt cannot be read ("cannot read '.../tcp.txt': Permission
    // denied"); empty when it can, or when there is no tcp.txt at all. Such an encoder is a
    // failure of every command over it, never an encoder without settings.
    std::string error;
    // Why the tcp.txt read is doubtful (ConnectionSettings::doubt), empty when it is not.
    std::string doubt;
};

struct SiteFolder {
    std::string name;
    std::vector<EncoderFolder> encoders;
    // Why the folder cannot be listed ("cannot list './LocationData/S/': Permission
    // denied"); empty when it can. Its encoders are then unknown, not none.
    std::string error;
};

// An entry of a folder that is, or should be, a sub-folder: `error` says why it cannot be
// looked at or listed (a loop of symbolic links, a folder without the right to list it).
struct FolderEntry {
    std::string name;
    std::string error;
};

// The sub-folders of a folder in byte order of their names (those whose names start with a
// dot, "." and ".." among them, and plain files left out); empty when the folder cannot be listed.
// Linux lists entries in no useful order, so sorting keeps the tree the same on every machine and
// every run.
std::vector<std::string> listFolders(const std::string& path);

// The same sub-folders, and besides them every entry whose kind cannot be looked at, with
// the reason; each of them is checked to be listable, and one that is not carries the
// reason too. false with "cannot list 'PATH': REASON" in *error when `path` itself cannot
// be listed; a `path` that does not exist is listed as empty when `mayBeMissing`.
bool listFolderEntries(const std::string& path, std::vector<FolderEntry>& entries,
                       std::string* error, bool mayBeMissing = false);

// Every site and encoder under `root` (kLocationRoot by default), reading each encoder's
// tcp.txt on the way for its label; `settings` ends holding the last one read. A site or
// encoder that cannot be read is listed with its `error`. When `root` itself exists but
// cannot be listed, nothing is listed and *rootError (when given) says why; a missing root
// is an empty store, not a failure.
std::vector<SiteFolder> scanLocationData(ConnectionSettings& settings,
                                         const std::string& root = kLocationRoot,
                                         std::string* rootError = nullptr);

// How many sites and encoders of a scan could not be read.
int unreadableFolders(const std::vector<SiteFolder>& sites);

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
// The same, with why the file cannot be read in *unreadable: empty when there is no tcp.txt
// at all (an encoder not set up yet), else "cannot read 'PATH': Permission denied", "'PATH'
// is a FIFO" and the like.
int ReadConnectionSettings(const std::string& encoderFolder, ConnectionSettings& settings,
                           std::string* unreadable);

// What keeps a transfer from taking an encoder's tcp.txt, the rule the desktop tool and
// q93ctl both refuse by.
enum class ConnectionFault {
    None,
    Missing,     // no tcp.txt at all
    Unreadable,  // there, but it (or its folder) cannot be read
    Doubtful,    // read, but a line did not fit: its values are not what it meant
};
// Reads the encoder's tcp.txt for a transfer into `settings`; for Unreadable *reason is the
// read's failure ("cannot read 'PATH': ..."), for Doubtful the doubt.
ConnectionFault ReadTransferSettings(const std::string& encoderFolder, ConnectionSettings& settings,
                                     std::string* reason);
// The refusal in q93ctl's words: "cannot read 'PATH'" (Missing), the read's failure, or
// "'PATH' is doubtful: REASON; nothing was sent"; empty for None.
std::string connectionFaultText(const std::string& encoderFolder, ConnectionFault fault,
                                const std::string& reason);
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
