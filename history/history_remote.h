#pragma once

#include <string>

namespace q93 {

// Where the settings history's versions go: one git remote, "origin", in the history
// repository's own config, so that plain git in LocationData sees the same one.
inline constexpr const char* kHistoryRemote = "origin";

// Sets the remote's URL (making the remote when there is none). false with the reason: no
// history, a repository history init did not make, or libgit2's words.
bool setHistoryRemote(const std::string& root, const std::string& url, std::string* error);
// The remote's URL; empty when none is set.
bool historyRemoteUrl(const std::string& root, std::string* url, std::string* error);
// Removes the remote (and what git remembers of its branches); *removed false when there was
// none.
bool unsetHistoryRemote(const std::string& root, bool* removed, std::string* error);

enum class PushResult {
    Pushed,    // the remote's branch is the history's
    NoRemote,  // nothing set, nothing done
    Refused,   // the remote keeps its branch (moved on, or a rule of its own); never forced
    Failed,    // not reached or not pushed: libgit2's words
};
struct PushOutcome {
    PushResult result = PushResult::Failed;
    bool nonFastForward = false;  // Refused because the remote has versions this one lacks
    std::string url;
    std::string branch;   // "main"
    std::string shortId;  // the version pushed
    std::string message;  // why, when not pushed
};

// Pushes the history's own branch to the branch of that name on the remote. A branch the
// remote moved on is not overwritten: the push is refused, and the versions stay here.
// SSH takes a key from ssh-agent, else ~/.ssh/id_ed25519, id_ecdsa or id_rsa without a
// passphrase. libgit2 bounds no wait: the caller does.
PushOutcome pushHistory(const std::string& root);

// The transports this libgit2 was built with, besides local paths: "https, ssh".
std::string historyTransports();

}  // namespace q93
