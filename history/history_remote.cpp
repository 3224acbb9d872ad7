#include "history/history_remote.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "history/git_handles.h"
#include "history/history_repository.h"
#include "history/settings_history.h"

namespace q93 {

using namespace history;

namespace {

using Remote = GitHandle<git_remote, git_remote_free>;

// The history's repository, and only one history init made: a person's own repository
// stays theirs, also its remotes.
bool openOwnRepository(const std::string& root, Repository& repo, std::string* error) {
    if (hasHistory(root) && !isHistoryRepository(root)) {
        *error = root + ".git is a git repository that q93ctl history init did not make; " +
                 "q93ctl sets no remote and pushes nothing there";
        return false;
    }
    return openHistoryRepository(root, repo, error);
}

// The history's branch as its config records it, else the one HEAD is on: "refs/heads/main".
std::string historyBranch(git_repository* repo, std::string* error) {
    Config config, snapshot;
    const char* text = nullptr;
    if (fill(config, git_repository_config, repo) == 0 &&
        fill(snapshot, git_config_snapshot, config.get()) == 0 &&
        git_config_get_string(&text, snapshot.get(), kBranchKey) == 0) {
        return text;
    }
    Reference head;
    if (fill(head, git_reference_lookup, repo, "HEAD") == 0 &&
        git_reference_type(head.get()) == GIT_REFERENCE_SYMBOLIC) {
        return git_reference_symbolic_target(head.get());
    }
    *error = "the settings history names no branch to push";
    return {};
}

struct PushState {
    std::vector<std::string> refused;  // "REF: REASON" for each ref the remote kept
    int agentTries = 0;
    std::size_t keyFile = 0;
};

// The remote's verdict on each ref: a refused one is no error of the push call itself.
int onReferenceUpdate(const char* reference, const char* status, void* payload) {
    if (status != nullptr)
        static_cast<PushState*>(payload)->refused.push_back(std::string(reference) + ": " + status);
    return 0;
}

// SSH only, unattended as a scheduled backup runs: the agent once, then each key file
// without a passphrase once. Nothing else is offered; libgit2 then names the failure.
// A URL without a user name logs in as this user, as ssh does.
int onCredentials(git_credential** out, const char* /*url*/, const char* urlUser,
                  unsigned int allowed, void* payload) {
    auto* state = static_cast<PushState*>(payload);
    const passwd* account = getpwuid(getuid());
    const char* user = urlUser != nullptr   ? urlUser
                       : account != nullptr ? account->pw_name
                                            : nullptr;
    if (user == nullptr)
        return GIT_PASSTHROUGH;
    if ((allowed & GIT_CREDENTIAL_USERNAME) != 0)
        return git_credential_username_new(out, user);
    if ((allowed & GIT_CREDENTIAL_SSH_KEY) == 0)
        return GIT_PASSTHROUGH;
    if (state->agentTries++ == 0 && std::getenv("SSH_AUTH_SOCK") != nullptr)
        return git_credential_ssh_key_from_agent(out, user);
    const char* home = std::getenv("HOME");
    static const char* const kKeys[] = {"id_ed25519", "id_ecdsa", "id_rsa"};
    while (home != nullptr && state->keyFile < std::size(kKeys)) {
        const std::string key = std::string(home) + "/.ssh/" + kKeys[state->keyFile++];
        std::error_code code;
        if (std::filesystem::exists(key, code))
            return git_credential_ssh_key_new(out, user, nullptr, key.c_str(), nullptr);
    }
    return GIT_PASSTHROUGH;
}

// libgit2 refuses a push that is no fast-forward before it sends anything; a remote server
// says so per ref in its own words.
bool saysNonFastForward(const std::string& reason) {
    for (const char* words : {"non-fast", "fetch first", "not present locally", "non-fastforward",
                              "fast forward", "fast-forward"}) {
        if (reason.find(words) != std::string::npos)
            return true;
    }
    return false;
}

// The folder a local remote names ("/srv/h.git", "file:///srv/h.git"); empty for others.
std::string localPath(const std::string& url) {
    const std::string file = "file://";
    if (url.rfind(file, 0) == 0)
        return url.substr(file.size());
    return url.rfind('/', 0) == 0 ? url : "";
}

}  // namespace

bool setHistoryRemote(const std::string& root, const std::string& url, std::string* error) {
    Repository repo;
    if (!openOwnRepository(root, repo, error))
        return false;
    Remote remote;
    const int found = fill(remote, git_remote_lookup, repo.get(), kHistoryRemote);
    const int set = found == 0
                        ? git_remote_set_url(repo.get(), kHistoryRemote, url.c_str())
                        : fill(remote, git_remote_create, repo.get(), kHistoryRemote, url.c_str());
    if (set != 0) {
        *error = gitError("cannot set the remote '" + url + "'");
        return false;
    }
    return true;
}

bool historyRemoteUrl(const std::string& root, std::string* url, std::string* error) {
    Repository repo;
    if (!openOwnRepository(root, repo, error))
        return false;
    Remote remote;
    url->clear();
    const int found = fill(remote, git_remote_lookup, repo.get(), kHistoryRemote);
    if (found == GIT_ENOTFOUND)
        return true;
    if (found != 0) {
        *error = gitError("cannot read the remote");
        return false;
    }
    if (const char* text = git_remote_url(remote.get()); text != nullptr)
        *url = text;
    return true;
}

bool unsetHistoryRemote(const std::string& root, bool* removed, std::string* error) {
    *removed = false;
    Repository repo;
    if (!openOwnRepository(root, repo, error))
        return false;
    const int deleted = git_remote_delete(repo.get(), kHistoryRemote);
    if (deleted == GIT_ENOTFOUND)
        return true;
    if (deleted != 0) {
        *error = gitError("cannot remove the remote");
        return false;
    }
    *removed = true;
    return true;
}

PushOutcome pushHistory(const std::string& root) {
    PushOutcome outcome;
    Repository repo;
    if (!openOwnRepository(root, repo, &outcome.message))
        return outcome;
    Remote remote;
    const int found = fill(remote, git_remote_lookup, repo.get(), kHistoryRemote);
    if (found == GIT_ENOTFOUND) {
        outcome.result = PushResult::NoRemote;
        return outcome;
    }
    if (found != 0) {
        outcome.message = gitError("cannot read the remote");
        return outcome;
    }
    outcome.url = git_remote_url(remote.get()) != nullptr ? git_remote_url(remote.get()) : "";
    const std::string branch = historyBranch(repo.get(), &outcome.message);
    if (branch.empty())
        return outcome;
    const std::string prefix = kBranchPrefix;
    outcome.branch = branch.rfind(prefix, 0) == 0 ? branch.substr(prefix.size()) : branch;
    git_oid head;
    if (git_reference_name_to_id(&head, repo.get(), branch.c_str()) != 0) {
        outcome.message = "the settings history has no version yet: nothing to push";
        return outcome;
    }
    char text[GIT_OID_HEXSZ + 1];
    git_oid_tostr(text, sizeof text, &head);
    outcome.shortId = std::string(text, kShortIdLength);

    // No '+': a branch the remote moved on is refused, never overwritten.
    std::string mapping = branch + ":" + branch;
    char* mappings[] = {mapping.data()};
    const git_strarray refspecs = {mappings, 1};
    PushState state;
    git_push_options options;
    git_push_options_init(&options, GIT_PUSH_OPTIONS_VERSION);
    options.callbacks.push_update_reference = onReferenceUpdate;
    options.callbacks.credentials = onCredentials;
    options.callbacks.payload = &state;
    const int pushed = git_remote_push(remote.get(), &refspecs, &options);
    if (pushed == GIT_ENONFASTFORWARD) {
        outcome.result = PushResult::Refused;
        outcome.nonFastForward = true;
        outcome.message = gitError("non-fast-forward");
        return outcome;
    }
    if (pushed != 0) {
        outcome.message = gitError("cannot push to " + outcome.url);
        // libgit2 takes a local path for one only when it exists, and else names the
        // protocol: the missing folder is the cause a user can act on.
        const std::string path = localPath(outcome.url);
        std::error_code code;
        if (!path.empty() && !std::filesystem::exists(path, code)) {
            outcome.message = "cannot push to " + outcome.url + ": " + path + " does not exist (" +
                              gitError("libgit2") + ")";
        }
        return outcome;
    }
    if (!state.refused.empty()) {
        outcome.result = PushResult::Refused;
        for (const std::string& reason : state.refused) {
            outcome.nonFastForward = outcome.nonFastForward || saysNonFastForward(reason);
            outcome.message += (outcome.message.empty() ? "" : "; ") + reason;
        }
        return outcome;
    }
    outcome.result = PushResult::Pushed;
    return outcome;
}

std::string historyTransports() {
    startLibgit2();
    const int features = git_libgit2_features();
    std::string names;
    if ((features & GIT_FEATURE_HTTPS) != 0)
        names = "https";
    if ((features & GIT_FEATURE_SSH) != 0)
        names += names.empty() ? "ssh" : ", ssh";
    return names;
}

}  // namespace q93
