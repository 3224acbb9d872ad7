#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history/version_changes.h"
#include "protocol/parameter_set.h"
#include "store/location_store.h"

namespace q93 {

// The settings history: LocationData as a git repository whose versions are the backups.
// Its folder, LocationData/.git, starts with a dot, so the location store never lists it.

// Whether `root` keeps a history.
bool hasHistory(const std::string& root = kLocationRoot);
// The repository's own folder, "ROOT/.git/": one recorder at a time locks it.
std::string historyFolder(const std::string& root = kLocationRoot);

// Makes `root` a repository (creating the folder when missing) with a .gitattributes that
// shows the stored files through `textconv` (a command that prints a file as name=value
// lines) in `git log -p`, and a first version of the stored files found there (none without
// any: the first backup is then the first version). A root that
// already keeps a history is left as it is. false with the reason.
bool initHistory(const std::string& root, const std::string& textconv, std::string* error);

// One encoder folder, by its two names.
struct EncoderName {
    std::string site;
    std::string encoder;
};

// After a backup: the stored files of these encoders as a new version, its message naming
// each field that changed, its author the user's git identity or else user@host. Nothing is
// recorded when no file changed. *recorded holds the version's short id, or stays empty.
bool recordBackup(const std::string& root, const std::vector<EncoderName>& encoders,
                  std::string* recorded, std::string* error);

// A version and what it changed.
struct Version {
    std::string id;       // full hexadecimal id
    std::string shortId;  // its first seven digits
    std::int64_t time = 0;
    int offsetMinutes = 0;  // the author's time zone
    std::string author;     // "Name <email>"
    std::vector<history::VersionChange> changes;
};

// The versions that change the stored files of the given encoders (every encoder when none
// is given; an empty encoder name stands for the whole site), newest first, each with those
// changes only.
bool listVersions(const std::string& root, const std::vector<EncoderName>& encoders,
                  std::vector<Version>& versions, std::string* error);

// The stored files of one encoder as a version holds them, the version named as git names
// one (a short or full id, HEAD~2, a tag); a file the version does not hold is nullopt.
struct VersionFiles {
    std::string shortId;
    std::optional<DeviceParameters> device;
    std::array<std::optional<PresetParameters>, kPresetsPerEncoder> presets;
};
bool readVersionFiles(const std::string& root, const std::string& revision,
                      const EncoderName& encoder, VersionFiles& files, std::string* error);

// "2026-12-08 14:20:01 +0100": a version's time as its author's clock showed it.
std::string versionTimeText(const Version& version);

}  // namespace q93
