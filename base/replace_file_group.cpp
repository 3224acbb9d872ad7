#include "base/replace_file_group.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "base/held_signals.h"
#include "base/replace_file.h"

namespace q93 {
namespace {

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::string reason(const FileReplacement& step) {
    return step.reason();
}

// Undoes the renames before `failed`, last first. A file that cannot be put back keeps its
// old content under the second name, which the message then gives.
std::string putBack(const std::vector<NewFile>& files, std::vector<FileReplacement>& kept,
                    std::size_t failed) {
    std::string trouble;
    for (std::size_t i = failed; i-- > 0;) {
        const std::string& path = files[i].path;
        if (kept[i].partner().empty() ? ::unlink(path.c_str()) == 0 : kept[i].install())
            continue;
        trouble += "; cannot put back '" + path + "'";
        if (!kept[i].partner().empty()) {
            trouble += ", its old content is in '" + kept[i].partner() + "'";
            kept[i].leave();
        }
    }
    return trouble.empty() ? "; every file was put back as it was" : trouble;
}

}  // namespace

bool replaceFileGroup(const std::vector<NewFile>& files, std::string* error) {
    EndSignalsHeld held;
    std::vector<FileReplacement> fresh(files.size());
    std::vector<FileReplacement> kept(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!fresh[i].open(files[i].path) || !fresh[i].write(files[i].bytes)) {
            *error = "cannot write '" + files[i].path + "': " + reason(fresh[i]);
            return false;
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (exists(files[i].path) && !kept[i].keep(files[i].path)) {
            *error = "cannot keep the old '" + files[i].path + "': " + reason(kept[i]);
            return false;
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!fresh[i].install()) {
            *error = "cannot replace '" + files[i].path + "': " + reason(fresh[i]) +
                     putBack(files, kept, i);
            return false;
        }
    }
    return true;
}

}  // namespace q93
