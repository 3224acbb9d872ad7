#include <unistd.h>

#include <cstdio>

#include <filesystem>

#include "cli/command_words.h"
#include "cli/ctl_command.h"
#include "cli/encoder_names.h"
#include "cli/history_push.h"
#include "cli/json_output.h"
#include "cli/quoted_text.h"
#include "history/settings_history.h"

namespace q93::ctl {
namespace {

// git runs the diff driver through the shell. This program's own path, so that `git log -p`
// finds the q93ctl that made the history also where it is not on the PATH.
std::string textconvCommand() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    const std::string self(path, length > 0 ? static_cast<std::size_t>(length) : 0);
    if (self.empty() || self.find('\'') != std::string::npos)
        return "q93ctl show";
    return "'" + self + "' show";
}

int runInit(const Arguments& args) {
    if (!args.empty())
        return usageError("history init takes no more words");
    std::string error;
    if (isHistoryRepository())
        return failure(std::string(kLocationRoot) + " keeps a settings history already");
    if (hasHistory())
        return failure(
            std::string(kLocationRoot) +
            ".git is a git repository that history init did not make; the settings " +
            "history records only in a repository of its own (move that one away first)");
    if (!initHistory(kLocationRoot, textconvCommand(), &error))
        return failure(error);
    std::printf("settings history in %s: every backup that changes a file records a version\n",
                kLocationRoot);
    return kExitSuccess;
}

// A local path is pushed to from wherever q93ctl runs (a scheduled job runs in the home
// folder): a relative one is kept as the absolute path it names now. URLs ("ssh://...",
// "file://...") and scp-like "host:path" are kept as given.
std::string remoteLocation(const std::string& url) {
    const std::size_t colon = url.find(':');
    const bool local = url.find("://") == std::string::npos &&
                       (colon == std::string::npos || url.find('/') < colon);
    if (!local || url.front() == '/')
        return url;
    std::error_code code;
    const std::filesystem::path absolute = std::filesystem::absolute(url, code);
    return code ? url : absolute.lexically_normal().string();
}

// A remote over a transport this libgit2 was built without would fail at every push: said
// when it is set. After remoteLocation a local path starts with '/'; "host:path" is SSH.
void warnOfMissingTransport(const std::string& url) {
    const std::size_t separator = url.find("://");
    std::string scheme = separator != std::string::npos ? url.substr(0, separator) : "";
    if (separator == std::string::npos && url.front() != '/' && url.find(':') != std::string::npos)
        scheme = "ssh";
    const std::string transports = historyTransports();
    if ((scheme == "ssh" || scheme == "https") && transports.find(scheme) == std::string::npos) {
        std::fprintf(
            stderr,
            "q93ctl: warning: this libgit2 has no %s transport (it has %slocal paths); a push "
            "there will fail\n",
            scheme.c_str(), (transports.empty() ? "" : transports + ", ").c_str());
    }
}

int runRemote(const Arguments& args) {
    CommandWords words;
    std::string error, url;
    if (!splitWords(args, {}, {"--unset"}, words, &error))
        return usageError(error);
    const bool unset = words.option("--unset") != nullptr;
    if (words.positional.size() > 1 || (unset && !words.positional.empty()))
        return usageError("history remote takes one URL, or --unset, or nothing");
    if (unset) {
        bool removed = false;
        if (!unsetHistoryRemote(kLocationRoot, &removed, &error))
            return failure(error);
        std::printf(removed ? "the settings history has no remote now\n"
                            : "the settings history had no remote\n");
        return kExitSuccess;
    }
    if (words.positional.empty()) {
        if (!historyRemoteUrl(kLocationRoot, &url, &error))
            return failure(error);
        if (url.empty())
            return failure(
                "the settings history has no remote (q93ctl history remote URL sets one)");
        std::printf("%s\n", url.c_str());
        return kExitSuccess;
    }
    if (words.positional[0].empty())
        return usageError("history remote: the URL is empty");
    url = remoteLocation(words.positional[0]);
    if (!setHistoryRemote(kLocationRoot, url, &error))
        return failure(error);
    std::printf("versions are pushed to %s (q93ctl history push, backup --push)\n", url.c_str());
    warnOfMissingTransport(url);
    return kExitSuccess;
}

int runPush(const Arguments& args) {
    if (!args.empty())
        return usageError("history push takes no more words");
    const PushOutcome outcome = pushVersions();
    if (outcome.result != PushResult::Pushed)
        return failure(pushFailureText(outcome));
    std::printf("%s\n", pushedText(outcome).c_str());
    return kExitSuccess;
}

std::string changeText(const history::VersionChange& change) {
    std::string line = plainValue(change.encoderName()) + " " + change.difference.file;
    switch (change.kind) {
        case history::FileChange::Added:
            return line + " stored";
        case history::FileChange::Removed:
            return line + " removed";
        case history::FileChange::Field:
            break;
    }
    const FieldDifference& d = change.difference;
    line += " " + d.field + " " + plainPair("old", d.stored) + " " + plainPair("new", d.encoder);
    return d.unit.empty() ? line : line + " " + plainPair("unit", d.unit);
}

void printVersions(const std::vector<Version>& versions) {
    for (const Version& version : versions) {
        std::printf("%s %s %s\n", version.shortId.c_str(), versionTimeText(version).c_str(),
                    plainValue(version.author).c_str());
        for (const history::VersionChange& change : version.changes)
            std::printf("  %s\n", changeText(change).c_str());
    }
}

Json versionsJson(const std::vector<Version>& versions) {
    static const char* const kKinds[] = {"field", "stored", "removed"};
    Json list = Json::array();
    for (const Version& version : versions) {
        Json changes = Json::array();
        for (const history::VersionChange& change : version.changes) {
            const FieldDifference& d = change.difference;
            changes.push_back({{"encoder", jsonText(change.encoderName())},
                               {"file", d.file},
                               {"change", kKinds[static_cast<int>(change.kind)]},
                               {"field", d.field},
                               {"old", d.stored},
                               {"new", d.encoder},
                               {"unit", d.unit}});
        }
        list.push_back({{"id", version.id},
                        {"shortId", version.shortId},
                        {"date", versionTimeText(version)},
                        {"author", jsonText(version.author)},
                        {"changes", changes}});
    }
    return list;
}

}  // namespace

int runHistoryCommand(const Arguments& args) {
    if (!args.empty() && args[0] == "init")
        return runInit(Arguments(args.begin() + 1, args.end()));
    if (!args.empty() && args[0] == "remote")
        return runRemote(Arguments(args.begin() + 1, args.end()));
    if (!args.empty() && args[0] == "push")
        return runPush(Arguments(args.begin() + 1, args.end()));
    CommandWords words;
    std::string error;
    const bool json = asksForJson(args);
    if (!splitWords(args, {}, {"--json"}, words, &error))
        return failedCommand("history", json, kExitUsage, error);
    std::vector<StoredEncoder> encoders;
    std::vector<EncoderName> names;
    if (!words.positional.empty()) {
        if (!selectEncoders(words.positional, encoders, &error))
            return failedCommand("history", json, kExitFailure, error);
        for (const StoredEncoder& encoder : encoders) {
            // A site that cannot be listed would name no encoder, and so every version.
            if (encoder.encoder.empty())
                return failedCommand("history", json, kExitFailure, encoder.unreadable);
            names.push_back({encoder.site, encoder.encoder});
        }
    }
    std::vector<Version> versions;
    if (!listVersions(kLocationRoot, names, versions, &error))
        return failedCommand("history", json, kExitFailure, error);
    if (json)
        printJson({{"command", "history"}, {"versions", versionsJson(versions)}});
    else
        printVersions(versions);
    return kExitSuccess;
}

}  // namespace q93::ctl
