#include "history/version_changes.h"

#include <cstring>
#include <optional>
#include <set>

#include "history/git_handles.h"
#include "protocol/parameter_files.h"
#include "store/location_store.h"
#include "store/name_text.h"

namespace q93::history {
namespace {

// "SITE/ENC/FILE" split at its two separators; false for any other path.
struct StoredPath {
    std::string site;
    std::string encoder;
    std::string file;
    int preset = 0;  // 1..8 for Preset-n.dat, 0 for device.dat
};

bool splitStoredPath(const std::string& path, StoredPath& parts) {
    const std::size_t first = path.find('/');
    const std::size_t second = first == std::string::npos ? first : path.find('/', first + 1);
    if (second == std::string::npos || path.find('/', second + 1) != std::string::npos)
        return false;
    parts.site = path.substr(0, first);
    parts.encoder = path.substr(first + 1, second - first - 1);
    parts.file = path.substr(second + 1);
    parts.preset = 0;
    if (parts.file == kDeviceFileName)
        return true;
    for (int n = 1; n <= kPresetsPerEncoder; ++n) {
        if (parts.file == presetFileName(presetLabel(n))) {
            parts.preset = n;
            return true;
        }
    }
    return false;
}

// A blob's bytes when it holds exactly one block of the file's kind.
std::optional<std::string> wholeBlock(git_repository* repo, const git_oid& id, int preset) {
    Blob blob;
    if (git_oid_is_zero(&id) || fill(blob, git_blob_lookup, repo, &id) != 0)
        return std::nullopt;
    const auto size = static_cast<std::size_t>(git_blob_rawsize(blob.get()));
    if (size != (preset > 0 ? kPresetBlockSize : kDeviceBlockSize))
        return std::nullopt;
    return std::string(static_cast<const char*>(git_blob_rawcontent(blob.get())), size);
}

const std::uint8_t* bytesOf(const std::string& block) {
    return reinterpret_cast<const std::uint8_t*>(block.data());
}

// The unit the pages would show the encoder's levels in: its device.dat in `tree`.
DeviceParameters unitsIn(git_repository* repo, git_tree* tree, const StoredPath& parts) {
    DeviceParameters units;
    TreeEntry entry;
    const std::string path = parts.site + "/" + parts.encoder + "/" + kDeviceFileName;
    if (tree == nullptr || fill(entry, git_tree_entry_bypath, tree, path.c_str()) != 0)
        return units;
    if (const auto block = wholeBlock(repo, *git_tree_entry_id(entry.get()), 0))
        decodeDevice(bytesOf(*block), block->size(), units);
    return units;
}

std::vector<FieldDifference> fieldChanges(const std::string& older, const std::string& newer,
                                          const StoredPath& parts, const DeviceParameters& units) {
    if (parts.preset == 0) {
        DeviceParameters a, b;
        decodeDevice(bytesOf(older), older.size(), a);
        decodeDevice(bytesOf(newer), newer.size(), b);
        return compareDevice(a, b, units);
    }
    PresetParameters a, b;
    decodePreset(bytesOf(older), older.size(), a);
    decodePreset(bytesOf(newer), newer.size(), b);
    return comparePreset(parts.preset, a, b, units);
}

void addFileChanges(git_repository* repo, git_tree* newer, const git_diff_delta& delta,
                    std::vector<VersionChange>& changes) {
    StoredPath parts;
    const char* path = delta.new_file.path != nullptr ? delta.new_file.path : delta.old_file.path;
    if (path == nullptr || !splitStoredPath(path, parts))
        return;
    const auto before = wholeBlock(repo, delta.old_file.id, parts.preset);
    const auto after = wholeBlock(repo, delta.new_file.id, parts.preset);
    VersionChange change{parts.site, parts.encoder, FileChange::Field, {}};
    change.difference.file = parts.file;
    if (!before || !after) {
        if (before || after) {
            change.kind = after ? FileChange::Added : FileChange::Removed;
            changes.push_back(change);
        }
        return;
    }
    const DeviceParameters units = unitsIn(repo, newer, parts);
    for (const FieldDifference& difference : fieldChanges(*before, *after, parts, units)) {
        change.difference = difference;
        changes.push_back(change);
    }
}

std::string shortFile(const std::string& file) {
    const std::string suffix = ".dat";
    return file.size() > suffix.size() ? file.substr(0, file.size() - suffix.size()) : file;
}

std::string changeLine(const VersionChange& change) {
    std::string line =
        lineName(change.encoderName()) + " " + shortFile(change.difference.file) + ": ";
    switch (change.kind) {
        case FileChange::Added:
            return line + "stored";
        case FileChange::Removed:
            return line + "removed";
        case FileChange::Field:
            break;
    }
    const FieldDifference& d = change.difference;
    line += d.field + " " + d.stored + " -> " + d.encoder;
    return d.unit.empty() ? line : line + " " + d.unit;
}

}  // namespace

bool changesBetween(git_repository* repo, git_tree* older, git_tree* newer,
                    std::vector<VersionChange>& changes, std::string* error) {
    Diff diff;
    git_diff_options options = GIT_DIFF_OPTIONS_INIT;
    if (fill(diff, git_diff_tree_to_tree, repo, older, newer, &options) != 0) {
        *error = gitError("cannot compare two versions");
        return false;
    }
    const std::size_t count = git_diff_num_deltas(diff.get());
    for (std::size_t i = 0; i < count; ++i)
        addFileChanges(repo, newer, *git_diff_get_delta(diff.get(), i), changes);
    return true;
}

std::string versionMessage(const std::vector<VersionChange>& changes) {
    std::string lines;
    std::set<std::string> encoders;
    for (const VersionChange& change : changes) {
        lines += changeLine(change) + "\n";
        encoders.insert(change.encoderName());
    }
    if (changes.size() == 1)
        return lines;
    const std::string summary = "Backup: " + std::to_string(changes.size()) + " changes on " +
                                std::to_string(encoders.size()) +
                                (encoders.size() == 1 ? " encoder" : " encoders");
    return summary + "\n\n" + lines;
}

}  // namespace q93::history
