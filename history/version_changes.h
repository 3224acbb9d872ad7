#pragma once

#include <git2.h>

#include <string>
#include <vector>

#include "store/block_compare.h"

namespace q93::history {

// What happened to one stored file of one encoder from one version to the next.
enum class FileChange { Field, Added, Removed };

struct VersionChange {
    std::string site;
    std::string encoder;
    FileChange kind = FileChange::Field;
    FieldDifference difference;  // file always; field, values and unit for FileChange::Field
                                 // ("stored" the older value, "encoder" the newer)

    std::string encoderName() const { return site + "/" + encoder; }
};

// Every change of the stored files (device.dat, Preset-1..8.dat of LocationData/SITE/ENC/)
// from `older` (nullptr: the empty folder) to `newer`, in path order, a file's fields in the
// order of its read table and shown as the pages show them, at the unit of the newer
// device.dat of the same encoder. A file that is not of its block's exact size counts as
// added or removed.
bool changesBetween(git_repository* repo, git_tree* older, git_tree* newer,
                    std::vector<VersionChange>& changes, std::string* error);

// The message of a version that holds these changes: a line each,
// "Hilltop/Tower Preset-2: mpxGain -3.0 -> -2.5 dB", a name that is not UTF-8 or holds a control
// character in its quoted form, and a summary first when there is more than one.
std::string versionMessage(const std::vector<VersionChange>& changes);

}  // namespace q93::history
