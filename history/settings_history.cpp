#include "history/settings_history.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "base/held_signals.h"
#include "history/git_handles.h"
#include "history/history_repository.h"
#include "protocol/parameter_files.h"

namespace q93 {

using namespace history;

namespace {

constexpr const char* kRepositoryFolder = ".git";
constexpr const char* kAttributesFile = ".gitattributes";
// The diff driver the attributes name; its textconv is set in the repository's own config.
constexpr const char* kAttributes = "*.dat diff=q93\n";
constexpr const char* kTextconvKey = "diff.q93.textconv";
// Set by initHistory in the repository's own config: versions are recorded there only, and
// only on that branch.
constexpr const char* kMarkKey = "q93.history";
constexpr const char* kIndexLock = "index.lock";

// The tree of HEAD; nullptr (and true) before the first version.
bool headTree(git_repository* repo, Commit& head, Tree& tree, std::string* error) {
    git_oid id;
    const int found = git_reference_name_to_id(&id, repo, "HEAD");
    if (found == GIT_ENOTFOUND || found == GIT_EUNBORNBRANCH)
        return true;
    if (found != 0 || fill(head, git_commit_lookup, repo, &id) != 0 ||
        fill(tree, git_commit_tree, head.get()) != 0) {
        *error = gitError("cannot read the newest version");
        return false;
    }
    return true;
}

// The user's git identity when the configuration gives one, else user@host: a version
// always says who made it.
bool authorOf(git_repository* repo, Signature& author, std::string* error) {
    if (fill(author, git_signature_default, repo) == 0)
        return true;
    const passwd* user = getpwuid(getuid());
    const std::string name = user != nullptr ? user->pw_name : "q93ctl";
    char host[256] = "localhost";
    gethostname(host, sizeof host - 1);
    if (fill(author, git_signature_now, name.c_str(), (name + "@" + host).c_str()) != 0) {
        *error = gitError("cannot name the author");
        return false;
    }
    return true;
}

// The stored files of the encoders that are on the disk, relative to the root.
std::vector<std::string> storedPaths(const std::string& root,
                                     const std::vector<EncoderName>& encoders) {
    std::vector<std::string> paths;
    for (const EncoderName& name : encoders) {
        const std::string relative = name.site + "/" + name.encoder + "/";
        std::vector<std::string> files{kDeviceFileName};
        for (int n = 1; n <= kPresetsPerEncoder; ++n)
            files.push_back(presetFileName(presetLabel(n)));
        for (const std::string& file : files) {
            if (isStoredFile(root + relative + file))
                paths.push_back(relative + file);
        }
    }
    return paths;
}

// The stored files of the encoders as they are on the disk, staged over the newest version.
bool stageEncoders(git_index* index, const std::string& root,
                   const std::vector<EncoderName>& encoders, std::string* error) {
    for (const std::string& path : storedPaths(root, encoders)) {
        if (git_index_add_bypath(index, path.c_str()) != 0) {
            *error = gitError("cannot take " + path + " into the history");
            return false;
        }
    }
    return true;
}

std::string branchName(const std::string& reference) {
    const std::string prefix = kBranchPrefix;
    return reference.rfind(prefix, 0) == 0 ? reference.substr(prefix.size()) : reference;
}

// The marked state of the repository's own config: whether it is the history's, and its
// branch ("" when not recorded there).
struct Mark {
    bool marked = false;
    bool madeBeforeMark = false;
    std::string branch;
};

bool readMark(git_repository* repo, Mark& mark, std::string* error) {
    Config config, snapshot;
    if (fill(config, git_repository_config, repo) != 0 ||
        fill(snapshot, git_config_snapshot, config.get()) != 0) {
        *error = gitError("cannot read the repository's config");
        return false;
    }
    int marked = 0;
    const char* text = nullptr;
    mark.marked = git_config_get_bool(&marked, snapshot.get(), kMarkKey) == 0 && marked != 0;
    mark.madeBeforeMark =
        !mark.marked && git_config_get_string(&text, snapshot.get(), kTextconvKey) == 0;
    if (git_config_get_string(&text, snapshot.get(), kBranchKey) == 0)
        mark.branch = text;
    return true;
}

bool writeMark(git_repository* repo, const std::string& branch, std::string* error) {
    Config config;
    if (fill(config, git_repository_config, repo) != 0 ||
        git_config_set_bool(config.get(), kMarkKey, 1) != 0 ||
        git_config_set_string(config.get(), kBranchKey, branch.c_str()) != 0) {
        *error = gitError("cannot mark the repository as the settings history");
        return false;
    }
    return true;
}

// The branch HEAD names, or "" (with *error) when HEAD is detached.
std::string headBranch(git_repository* repo, const std::string& root, std::string* error) {
    Reference head;
    if (fill(head, git_reference_lookup, repo, "HEAD") != 0) {
        *error = gitError("cannot read HEAD in " + root);
        return {};
    }
    const char* target = git_reference_type(head.get()) == GIT_REFERENCE_SYMBOLIC
                             ? git_reference_symbolic_target(head.get())
                             : nullptr;
    if (target == nullptr || std::string(target).rfind(kBranchPrefix, 0) != 0) {
        *error = "HEAD in " + root + " is detached";
        return {};
    }
    return target;
}

// Whether versions may be recorded: the repository is the history's and HEAD is on its
// branch. A history made before the mark is marked now, on the branch HEAD is on.
RecordResult checkOwnBranch(git_repository* repo, const std::string& root, std::string* error) {
    Mark mark;
    if (!readMark(repo, mark, error))
        return RecordResult::Failed;
    if (!mark.marked && !mark.madeBeforeMark) {
        *error = root + ".git is a git repository that q93ctl history init did not make; " +
                 "q93ctl records no versions in it";
        return RecordResult::NotOurs;
    }
    const std::string branch = headBranch(repo, root, error);
    const std::string wanted = mark.branch.empty() ? branch : mark.branch;
    if (branch.empty() || branch != wanted) {
        if (!branch.empty()) {
            *error = "HEAD in " + root + " is on branch " + branchName(branch) + ", not on the " +
                     "history's branch";
        }
        if (wanted.empty()) {
            *error += "; versions are recorded on a branch only";
        } else {
            *error += "; versions are recorded on branch " + branchName(wanted) +
                      " only (git checkout " + branchName(wanted) + " in " + root + " goes back)";
        }
        return RecordResult::Failed;
    }
    if ((!mark.marked || mark.branch.empty()) && !writeMark(repo, branch, error))
        return RecordResult::Failed;
    return RecordResult::Done;
}

// An index.lock while the caller holds the history's lock was left by a recorder that was
// ended while it wrote: no recorder of ours can own it now.
bool removeStaleIndexLock(const std::string& root, std::string* note, std::string* error) {
    const std::string path = historyFolder(root) + kIndexLock;
    std::error_code code;
    if (!std::filesystem::exists(path, code))
        return true;
    if (!std::filesystem::remove(path, code) && code) {
        *error = "cannot remove the stale " + path + ": " + code.message();
        return false;
    }
    *note = "removed a stale .git/index.lock left by an interrupted backup";
    return true;
}

// HEAD's tree with the given files as they are on the disk; the index takes the same files.
bool treeWithFiles(git_repository* repo, git_index* index, git_tree* head,
                   const std::vector<std::string>& paths, git_oid& treeId, std::string* error) {
    Tree empty;
    if (head == nullptr) {
        TreeBuilder builder;
        git_oid emptyId;
        if (fill(builder, git_treebuilder_new, repo, static_cast<const git_tree*>(nullptr)) != 0 ||
            git_treebuilder_write(&emptyId, builder.get()) != 0 ||
            fill(empty, git_tree_lookup, repo, &emptyId) != 0) {
            *error = gitError("cannot start the first version");
            return false;
        }
        head = empty.get();
    }
    std::vector<git_tree_update> updates(paths.size());
    std::vector<git_oid> ids(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (git_blob_create_from_workdir(&ids[i], repo, paths[i].c_str()) != 0) {
            *error = gitError("cannot take " + paths[i] + " into the history");
            return false;
        }
        updates[i] = {GIT_TREE_UPDATE_UPSERT, ids[i], GIT_FILEMODE_BLOB, paths[i].c_str()};
    }
    if (git_tree_create_updated(&treeId, repo, head, updates.size(), updates.data()) != 0) {
        *error = gitError("cannot write the new version");
        return false;
    }
    for (const std::string& path : paths) {
        if (git_index_add_bypath(index, path.c_str()) != 0) {
            *error = gitError("cannot take " + path + " into the history's index");
            return false;
        }
    }
    if (git_index_write(index) != 0) {
        *error = gitError("cannot write the history's index");
        return false;
    }
    return true;
}

bool commitTree(git_repository* repo, git_commit* parent, const git_oid& treeId,
                const std::string& message, git_oid& id, std::string* error) {
    Tree tree;
    Signature author;
    if (fill(tree, git_tree_lookup, repo, &treeId) != 0) {
        *error = gitError("cannot read the new version");
        return false;
    }
    if (!authorOf(repo, author, error))
        return false;
    const git_commit* parents[] = {parent};
    if (git_commit_create(&id, repo, "HEAD", author.get(), author.get(), nullptr, message.c_str(),
                          tree.get(), parent != nullptr ? 1 : 0, parents) != 0) {
        *error = gitError("cannot record the version");
        return false;
    }
    return true;
}

// Records the tree when it differs from HEAD's.
bool recordTree(git_repository* repo, git_commit* head, git_tree* before, const git_oid& treeId,
                std::string* recorded, std::string* error) {
    if (before && git_oid_equal(&treeId, git_tree_id(before)))
        return true;
    Tree after;
    std::vector<VersionChange> changes;
    if (fill(after, git_tree_lookup, repo, &treeId) != 0 ||
        !changesBetween(repo, before, after.get(), changes, error)) {
        return false;
    }
    const std::string message =
        changes.empty() ? std::string("Settings history\n") : versionMessage(changes);
    git_oid id;
    if (!commitTree(repo, head, treeId, message, id, error))
        return false;
    char text[GIT_OID_HEXSZ + 1];
    git_oid_tostr(text, sizeof text, &id);
    *recorded = std::string(text, kShortIdLength);
    return true;
}

// Writes the index as a tree and records it when it differs from HEAD's.
bool recordIndex(git_repository* repo, git_index* index, std::string* recorded,
                 std::string* error) {
    Commit head;
    Tree before;
    git_oid treeId;
    if (!headTree(repo, head, before, error))
        return false;
    if (git_index_write(index) != 0 || git_index_write_tree(&treeId, index) != 0) {
        *error = gitError("cannot write the history's index");
        return false;
    }
    return recordTree(repo, head.get(), before.get(), treeId, recorded, error);
}

bool writeAttributes(const std::string& root, std::string* error) {
    const std::string path = root + kAttributesFile;
    std::FILE* file = std::fopen(path.c_str(), "wx");
    if (file == nullptr)
        return errno == EEXIST;  // a person's own attributes stay as they are
    const bool written = std::fputs(kAttributes, file) >= 0;
    if (std::fclose(file) != 0 || !written) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

std::string hexId(const git_oid* id, std::size_t length) {
    char text[GIT_OID_HEXSZ + 1];
    git_oid_tostr(text, sizeof text, id);
    return std::string(text, length);
}

bool concerns(const VersionChange& change, const std::vector<EncoderName>& encoders) {
    if (encoders.empty())
        return true;
    for (const EncoderName& name : encoders) {
        if (change.site == name.site && (name.encoder.empty() || change.encoder == name.encoder))
            return true;
    }
    return false;
}

// What one commit changed against its first parent, limited to the encoders.
bool versionOf(git_repository* repo, const git_oid& id, const std::vector<EncoderName>& encoders,
               Version& version, std::string* error) {
    Commit commit, parent;
    Tree tree, parentTree;
    if (fill(commit, git_commit_lookup, repo, &id) != 0 ||
        fill(tree, git_commit_tree, commit.get()) != 0 ||
        (git_commit_parentcount(commit.get()) > 0 &&
         (fill(parent, git_commit_parent, commit.get(), 0) != 0 ||
          fill(parentTree, git_commit_tree, parent.get()) != 0))) {
        *error = gitError("cannot read version " + hexId(&id, kShortIdLength));
        return false;
    }
    std::vector<VersionChange> changes;
    if (!changesBetween(repo, parentTree.get(), tree.get(), changes, error))
        return false;
    for (const VersionChange& change : changes) {
        if (concerns(change, encoders))
            version.changes.push_back(change);
    }
    const git_signature* author = git_commit_author(commit.get());
    version.id = hexId(&id, GIT_OID_HEXSZ);
    version.shortId = version.id.substr(0, kShortIdLength);
    version.time = author->when.time;
    version.offsetMinutes = author->when.offset;
    version.author = std::string(author->name) + " <" + author->email + ">";
    return true;
}

template <typename Block>
bool readBlock(git_repository* repo, git_tree* tree, const std::string& path, std::size_t size,
               std::optional<Block>& block, std::string* error,
               void (*decode)(const std::uint8_t*, std::size_t, Block&)) {
    TreeEntry entry;
    if (fill(entry, git_tree_entry_bypath, tree, path.c_str()) != 0)
        return true;
    Blob blob;
    if (fill(blob, git_blob_lookup, repo, git_tree_entry_id(entry.get())) != 0) {
        *error = gitError("cannot read " + path);
        return false;
    }
    const auto held = static_cast<std::size_t>(git_blob_rawsize(blob.get()));
    if (held != size) {
        *error = "'" + path + "' holds " + std::to_string(held) + " bytes in that version; " +
                 (size == kPresetBlockSize ? "a preset" : "a device") + " file holds exactly " +
                 std::to_string(size) + " bytes";
        return false;
    }
    block.emplace();
    decode(static_cast<const std::uint8_t*>(git_blob_rawcontent(blob.get())), size, *block);
    return true;
}

}  // namespace

bool hasHistory(const std::string& root) {
    std::error_code code;
    return std::filesystem::is_directory(historyFolder(root), code);
}

bool isHistoryRepository(const std::string& root) {
    startLibgit2();
    Repository repo;
    Mark mark;
    std::string error;
    return hasHistory(root) &&
           fill(repo, git_repository_open_ext, root.c_str(), GIT_REPOSITORY_OPEN_NO_SEARCH,
                nullptr) == 0 &&
           readMark(repo.get(), mark, &error) && (mark.marked || mark.madeBeforeMark);
}

std::string historyFolder(const std::string& root) {
    return root + kRepositoryFolder + "/";
}

bool initHistory(const std::string& root, const std::string& textconv, std::string* error) {
    startLibgit2();
    if (isHistoryRepository(root))
        return true;
    if (hasHistory(root)) {
        *error = root + ".git is a git repository that history init did not make";
        return false;
    }
    // The first version would leave out, without a word, a site or encoder that cannot be
    // read: refused before anything is made.
    ConnectionSettings unused;
    const std::vector<SiteFolder> sites = scanLocationData(unused, root, error);
    if (!error->empty())
        return false;
    for (const SiteFolder& site : sites) {
        *error = site.error;
        for (std::size_t e = 0; error->empty() && e < site.encoders.size(); ++e)
            *error = site.encoders[e].error;
        if (!error->empty())
            return false;
    }
    std::error_code code;
    std::filesystem::create_directories(root, code);
    Repository repo;
    Config config;
    Index index;
    if (fill(repo, git_repository_init, root.c_str(), 0) != 0) {
        *error = gitError("cannot make " + root + " a repository");
        return false;
    }
    if (fill(config, git_repository_config, repo.get()) != 0 ||
        git_config_set_string(config.get(), kTextconvKey, textconv.c_str()) != 0) {
        *error = gitError("cannot set the diff driver");
        return false;
    }
    const std::string branch = headBranch(repo.get(), root, error);
    if (branch.empty() || !writeMark(repo.get(), branch, error))
        return false;
    if (!writeAttributes(root, error))
        return false;
    std::vector<EncoderName> encoders;
    ConnectionSettings ignored;
    for (const SiteFolder& site : scanLocationData(ignored, root)) {
        for (const EncoderFolder& encoder : site.encoders)
            encoders.push_back({site.name, encoder.name});
    }
    std::string recorded;
    if (fill(index, git_repository_index, repo.get()) != 0 ||
        git_index_add_bypath(index.get(), kAttributesFile) != 0) {
        *error = gitError("cannot take " + std::string(kAttributesFile) + " into the history");
        return false;
    }
    if (!stageEncoders(index.get(), root, encoders, error))
        return false;
    // Without stored files the first backup is the first version, and takes the attributes.
    if (git_index_entrycount(index.get()) == 1) {
        if (git_index_write(index.get()) == 0)
            return true;
        *error = gitError("cannot write the history's index");
        return false;
    }
    return recordIndex(repo.get(), index.get(), &recorded, error);
}

RecordResult recordBackup(const std::string& root, const std::vector<EncoderName>& encoders,
                          std::string* recorded, std::string* note, std::string* error) {
    Repository repo;
    Index index;
    if (!openHistoryRepository(root, repo, error))
        return RecordResult::Failed;
    const RecordResult own = checkOwnBranch(repo.get(), root, error);
    if (own != RecordResult::Done)
        return own;
    Commit head;
    Tree before;
    if (!headTree(repo.get(), head, before, error) || !removeStaleIndexLock(root, note, error)) {
        return RecordResult::Failed;
    }
    if (fill(index, git_repository_index, repo.get()) != 0) {
        *error = gitError("cannot read the history's index");
        return RecordResult::Failed;
    }
    std::vector<std::string> paths = storedPaths(root, encoders);
    // The first version also takes the attributes initHistory staged.
    if (!head && isStoredFile(root + kAttributesFile))
        paths.insert(paths.begin(), kAttributesFile);
    // Index, objects and HEAD are written whole before an ending signal is let through: an
    // ended backup leaves no index.lock behind.
    EndSignalsHeld held;
    git_oid treeId;
    if (!treeWithFiles(repo.get(), index.get(), before.get(), paths, treeId, error) ||
        !recordTree(repo.get(), head.get(), before.get(), treeId, recorded, error)) {
        return RecordResult::Failed;
    }
    return RecordResult::Done;
}

bool listVersions(const std::string& root, const std::vector<EncoderName>& encoders,
                  std::vector<Version>& versions, std::string* error) {
    Repository repo;
    RevisionWalk walk;
    if (!openHistoryRepository(root, repo, error))
        return false;
    Commit head;
    Tree tree;
    if (!headTree(repo.get(), head, tree, error))
        return false;
    if (!head)
        return true;
    if (fill(walk, git_revwalk_new, repo.get()) != 0 ||
        git_revwalk_sorting(walk.get(), GIT_SORT_TOPOLOGICAL | GIT_SORT_TIME) != 0 ||
        git_revwalk_push_head(walk.get()) != 0) {
        *error = gitError("cannot walk the history");
        return false;
    }
    git_oid id;
    while (git_revwalk_next(&id, walk.get()) == 0) {
        Version version;
        if (!versionOf(repo.get(), id, encoders, version, error))
            return false;
        if (!version.changes.empty())
            versions.push_back(std::move(version));
    }
    return true;
}

bool readVersionFiles(const std::string& root, const std::string& revision,
                      const EncoderName& encoder, VersionFiles& files, std::string* error) {
    Repository repo;
    if (!openHistoryRepository(root, repo, error))
        return false;
    Object object, peeled;
    Commit commit;
    Tree tree;
    if (fill(object, git_revparse_single, repo.get(), revision.c_str()) != 0 ||
        fill(peeled, git_object_peel, object.get(), GIT_OBJECT_COMMIT) != 0) {
        *error = "no version '" + revision + "' in the settings history";
        return false;
    }
    const git_oid* id = git_object_id(peeled.get());
    if (fill(commit, git_commit_lookup, repo.get(), id) != 0 ||
        fill(tree, git_commit_tree, commit.get()) != 0) {
        *error = gitError("cannot read version " + revision);
        return false;
    }
    files.shortId = hexId(id, kShortIdLength);
    const std::string folder = encoder.site + "/" + encoder.encoder + "/";
    if (!readBlock(repo.get(), tree.get(), folder + kDeviceFileName, kDeviceBlockSize, files.device,
                   error, decodeDevice)) {
        return false;
    }
    for (int n = 1; n <= kPresetsPerEncoder; ++n) {
        if (!readBlock(repo.get(), tree.get(), folder + presetFileName(presetLabel(n)),
                       kPresetBlockSize, files.presets[n - 1], error, decodePreset)) {
            return false;
        }
    }
    return true;
}

std::string versionTimeText(const Version& version) {
    const std::time_t local = version.time + version.offsetMinutes * 60;
    std::tm parts{};
    gmtime_r(&local, &parts);
    const int offset = version.offsetMinutes < 0 ? -version.offsetMinutes : version.offsetMinutes;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d %c%02d%02d",
                  parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                  parts.tm_min, parts.tm_sec, version.offsetMinutes < 0 ? '-' : '+', offset / 60,
                  offset % 60);
    return text;
}

}  // namespace q93
