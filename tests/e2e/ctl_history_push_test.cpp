#include <gtest/gtest.h>

#include <filesystem>

#include "protocol/parameter_files.h"
#include "tests/e2e/ctl_run.h"
#include "tests/support/process_runner.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

namespace fs = std::filesystem;

// git itself, with an identity of its own for the commits a test makes by hand.
test::ProcessResult git(const fs::path& folder, const std::vector<std::string>& args) {
    std::vector<std::string> argv{"/usr/bin/env", "git",
                                  "-C",           folder.string(),
                                  "-c",           "user.name=Other",
                                  "-c",           "user.email=o@example.org"};
    argv.insert(argv.end(), args.begin(), args.end());
    return test::runProgram(argv, 30);
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// A simulated encoder, Hill/Tower, in a LocationData that keeps a history with one version,
// and a bare repository on this machine, made by git, for its remote.
class HistoryPush : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.ready()) << sim.error();
        ASSERT_EQ(ctl({"add", "Hill/Tower", "--ip", "127.0.0.1", "--tcp-port",
                       std::to_string(sim.port())})
                      .exitCode,
                  0);
        ASSERT_EQ(ctl({"history", "init"}).exitCode, 0);
        ASSERT_EQ(ctl({"backup"}).exitCode, 0);
        ASSERT_EQ(git(work.path(), {"init", "-q", "--bare", bare().string()}).exitCode, 0);
        branch = firstLine(git(root(), {"symbolic-ref", "--short", "HEAD"}).out);
        ASSERT_FALSE(branch.empty());
    }

    test::ProcessResult ctl(const std::vector<std::string>& args) {
        return test::runCtl(args, work.path().string());
    }
    fs::path root() const { return work.path() / "LocationData"; }
    fs::path bare() const { return work.path() / "shared.git"; }
    std::string head() { return firstLine(git(root(), {"rev-parse", "HEAD"}).out); }
    // The commit the bare repository's branch names; empty when it has none.
    std::string remoteHead() {
        const auto result = git(bare(), {"rev-parse", "--verify", "-q", "refs/heads/" + branch});
        return result.exitCode == 0 ? firstLine(result.out) : "";
    }
    // Changes preset 2 on the encoder behind q93ctl's back, so the next backup records one.
    void changeEncoder(double mpxGain) {
        PresetParameters preset;
        std::string error;
        const std::string file = (work.path() / "p2.dat").string();
        ASSERT_EQ(ctl({"--encoder", "Hill/Tower", "read-preset", "2", "--out", file}).exitCode, 0);
        ASSERT_TRUE(readWholePresetFile(file, preset, &error)) << error;
        preset.mpxGain = mpxGain;
        ASSERT_TRUE(writePresetFile(file, preset));
        ASSERT_EQ(ctl({"--encoder", "Hill/Tower", "write-preset", "2", "--in", file}).exitCode, 0);
    }

    test::TempDir work, store;
    test::SimProcess sim{{"--tcp", "127.0.0.1:0", "--store", store.path().string()}};
    std::string branch;
};

// The remote is set by a relative path, kept absolute in the history's own config; backup
// --push records the change and the bare repository's branch then names that version.
TEST_F(HistoryPush, BackupPushReachesABareRepository) {
    const auto set = ctl({"history", "remote", "shared.git"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    const auto shown = ctl({"history", "remote"});
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_EQ(shown.out, bare().string() + "\n");
    EXPECT_EQ(git(root(), {"remote", "get-url", "origin"}).out, bare().string() + "\n");

    changeEncoder(1.5);
    const std::string before = head();
    const auto backup = ctl({"backup", "--push"});
    ASSERT_EQ(backup.exitCode, 0) << backup.err;
    EXPECT_EQ(backup.out, "Hill/Tower OK\n");
    EXPECT_NE(head(), before);
    EXPECT_EQ(remoteHead(), head());
    EXPECT_NE(backup.err.find("pushed " + branch + " at " + head().substr(0, 7) + " to " +
                              bare().string()),
              std::string::npos)
        << backup.err;
    // The remote holds the versions themselves: git reads the change from there.
    EXPECT_EQ(git(bare(), {"log", "-1", "--format=%s", branch}).out,
              "Hill/Tower Preset-2: mpxGain 0.0 -> 1.5 dB\n");

    // Nothing new: the push says so again and changes nothing.
    const auto again = ctl({"history", "push"});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(remoteHead(), head());

    const auto unset = ctl({"history", "remote", "--unset"});
    EXPECT_EQ(unset.exitCode, 0) << unset.err;
    EXPECT_EQ(ctl({"history", "remote"}).exitCode, 1);
}

// The remote moved on (another machine pushed a commit there): the push is refused, not
// forced; the remote keeps its branch, the new version stays here. After the fetch and
// merge the message asks for, the next push goes through.
TEST_F(HistoryPush, ARemoteThatMovedOnRefusesAndNothingIsForced) {
    ASSERT_EQ(ctl({"history", "remote", bare().string()}).exitCode, 0);
    ASSERT_EQ(ctl({"history", "push"}).exitCode, 0);
    const fs::path other = work.path() / "other";
    ASSERT_EQ(git(work.path(), {"clone", "-q", bare().string(), other.string()}).exitCode, 0);
    test::writeFileBytes((other / "NOTES.txt").string(), "the other studio's note\n");
    ASSERT_EQ(git(other, {"add", "NOTES.txt"}).exitCode, 0);
    ASSERT_EQ(git(other, {"commit", "-q", "-m", "note"}).exitCode, 0);
    ASSERT_EQ(git(other, {"push", "-q", "origin", branch}).exitCode, 0);
    const std::string moved = remoteHead();

    changeEncoder(2.5);
    const auto backup = ctl({"backup", "--push"});
    EXPECT_EQ(backup.exitCode, 1);
    EXPECT_EQ(backup.out, "Hill/Tower OK\n");
    EXPECT_NE(backup.err.find("non-fast-forward"), std::string::npos) << backup.err;
    EXPECT_NE(backup.err.find("never forces"), std::string::npos) << backup.err;
    EXPECT_NE(backup.err.find("stay recorded here"), std::string::npos) << backup.err;
    EXPECT_EQ(remoteHead(), moved);
    EXPECT_EQ(git(root(), {"log", "-1", "--format=%s"}).out,
              "Hill/Tower Preset-2: mpxGain 0.0 -> 2.5 dB\n");
    const std::string kept = head();
    const auto push = ctl({"history", "push"});
    EXPECT_EQ(push.exitCode, 1);
    EXPECT_NE(push.err.find("non-fast-forward"), std::string::npos) << push.err;
    EXPECT_EQ(remoteHead(), moved);

    ASSERT_EQ(git(root(), {"pull", "-q", "--no-rebase", "--no-edit", "origin", branch}).exitCode,
              0);
    const auto merged = ctl({"history", "push"});
    EXPECT_EQ(merged.exitCode, 0) << merged.err;
    EXPECT_EQ(remoteHead(), head());
    EXPECT_EQ(git(root(), {"merge-base", "--is-ancestor", kept, head()}).exitCode, 0);
    EXPECT_EQ(git(root(), {"merge-base", "--is-ancestor", moved, head()}).exitCode, 0);
}

// A push that cannot happen is loud and keeps the version: each case exits as given, says
// why on stderr, and leaves HEAD as recorded and the bare repository untouched.
TEST_F(HistoryPush, APushThatCannotHappenSaysWhyAndKeepsTheVersion) {
    struct Case {
        const char* name;
        std::vector<std::string> remote;  // the history remote words; none: no remote
        std::vector<std::string> command;
        bool remoteBranchLocked;  // as by a push into it that is under way
        int exitCode;
        std::vector<std::string> says;
    };
    const std::string missing = (work.path() / "no-such-folder" / "shared.git").string();
    const std::vector<Case> cases = {
        {"push, no remote",
         {},
         {"history", "push"},
         false,
         1,
         {"has no remote", "history remote URL"}},
        {"backup --push, no remote",
         {},
         {"backup", "--push"},
         false,
         0,
         {"not pushed", "no remote"}},
        {"push, remote not there",
         {"history", "remote", missing},
         {"history", "push"},
         false,
         1,
         {"cannot push to " + missing + ": ", missing + " does not exist", "stay recorded here"}},
        {"backup --push, remote not there",
         {"history", "remote", missing},
         {"backup", "--push"},
         false,
         1,
         {"but the push failed", missing + " does not exist", "stay recorded here"}},
        // The remote takes the push but does not update the branch: its own verdict on
        // the ref, which the push call's result alone does not tell.
        {"push, the remote's branch locked",
         {"history", "remote", bare().string()},
         {"backup", "--push"},
         true,
         1,
         {"refused the push of branch " + branch, "refs/heads/" + branch + ": ", ".lock",
          "stay recorded here"}},
    };
    double gain = 0.5;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(ctl({"history", "remote", "--unset"}).exitCode, 0);
        if (!c.remote.empty()) {
            ASSERT_EQ(ctl(c.remote).exitCode, 0);
        }
        changeEncoder(gain += 0.5);  // a change for each case's version
        const fs::path lock = bare() / "refs" / "heads" / (branch + ".lock");
        if (c.remoteBranchLocked)
            test::writeFileBytes(lock.string(), "");
        const std::string before = head();
        const auto result = ctl(c.command);
        fs::remove(lock);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        for (const std::string& words : c.says)
            EXPECT_NE(result.err.find(words), std::string::npos) << words << "\n" << result.err;
        if (c.command[0] == "backup") {
            EXPECT_EQ(result.out, "Hill/Tower OK\n");
            EXPECT_NE(head(), before);  // the backup's version is recorded all the same
        } else {
            EXPECT_EQ(head(), before);
        }
        EXPECT_EQ(remoteHead(), "");
        EXPECT_FALSE(fs::exists(missing));
    }
}

}  // namespace
}  // namespace q93
