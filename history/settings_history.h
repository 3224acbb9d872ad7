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

// Whether `root` holds a repository (LocationData/.git), whoever made it.
bool hasHistory(const std::string& root = kLocationRoot);
// Whether that repository is one `initHistory` made: marked so in its own config
// (q93.history), or, made before the mark, with the diff driver initHistory sets there.
// Versions are recorded in no other repository: a person's own git work stays theirs.
bool isHistoryRepository(const std::string& root = kLocationRoot);
// The repository's own folder, "ROOT/.git/": one recorder at a time locks it.
std::string historyFolder(const std::string& root = kLocationRoot);

// Makes `root` a repository (creating the folder when missing) with a .gitattributes that
// shows the stored files through `textconv` (a command that prints a file as name=value
// lines) in `git log -p`, and a first version of the stored files found there (none without
// any: the first backup is then the first version). A root that
// already keeps a history is left as it is. false with the reason, and nothing made, also
// when a site or encoder folder (or tcp.txt) there cannot be read.
bool initHistory(const std::string& root, const std::string& textconv, std::string* error);

// One encoder folder, by its two names.
struct EncoderName {
    std::string site;
    std::string encoder;
};

// After a backup: the stored files of these encoders as a new version on the history's own
// branch, its tree HEAD's with those files (nothing else the index holds), its message naming
// each field that changed, its author the user's git identity or else user@host. Nothing is
// recorded when no file changed. *recorded holds the version's short id, or stays empty.
// The caller holds the history's lock (historyFolder()), so no other recorder runs: an
// .git/index.lock found then was left by one that was ended, and is removed (*note says so).
enum class RecordResult {
    Done,     // recorded, or nothing changed
    NotOurs,  // the repository is not one initHistory made: nothing done (*error says so)
    Failed,   // *error says why; HEAD detached or on another branch is one such
};
RecordResult recordBackup(const std::string& root, const std::vector<EncoderName>& encoders,
                          std::string* recorded, std::string* note, std::string* error);

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
