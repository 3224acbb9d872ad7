#include "history/history_repository.h"

#include "history/settings_history.h"

namespace q93::history {

bool openHistoryRepository(const std::string& root, Repository& repo, std::string* error) {
    startLibgit2();
    if (!hasHistory(root)) {
        *error = "no settings history in " + root + " (q93ctl history init makes one)";
        return false;
    }
    if (fill(repo, git_repository_open_ext, root.c_str(), GIT_REPOSITORY_OPEN_NO_SEARCH, nullptr) !=
        0) {
        *error = gitError("cannot open the settings history in " + root);
        return false;
    }
    return true;
}

}  // namespace q93::history
