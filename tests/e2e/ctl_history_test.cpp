#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>

#include "protocol/parameter_files.h"
#include "store/location_store.h"
#include "tests/e2e/ctl_run.h"
#include "tests/support/process_runner.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

namespace fs = std::filesystem;

// Every file under a folder (the repository's own folder left out) with its bytes.
std::map<std::string, std::string> storedBytes(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::end(it); ++it) {
        if (it->path().filename() == ".git") {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file())
            files[fs::relative(it->path(), root).string()] = test::readFileBytes(it->path());
    }
    return files;
}

// Two simulated encoders, Hill/Tower and Hill/Mast, in a LocationData that keeps a history.
class SettingsHistory : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.ready()) << sim.error();
        for (const auto& [name, offset] : {std::pair{"Hill/Tower", 0}, std::pair{"Hill/Mast", 1}}) {
            ASSERT_EQ(ctl({"add", name, "--ip", "127.0.0.1", "--tcp-port",
                           std::to_string(sim.port() + offset)})
                          .exitCode,
                      0);
        }
        const auto init = ctl({"history", "init"});
        ASSERT_EQ(init.exitCode, 0) << init.err;
    }

    test::ProcessResult ctl(const std::vector<std::string>& args) {
        return test::runCtl(args, work.path().string());
    }
    test::ProcessResult git(const std::vector<std::string>& args) {
        // Through env, which finds git on the PATH as a shell would.
        std::vector<std::string> argv{"/usr/bin/env", "git", "-C", root().string()};
        argv.insert(argv.end(), args.begin(), args.end());
        return test::runProgram(argv, 30);
    }
    fs::path root() const { return work.path() / "LocationData"; }
    std::string versionCount() { return git({"rev-list", "--count", "HEAD"}).out; }
    void backup() {
        const auto result = ctl({"backup"});
        ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
        ASSERT_EQ(result.out, "Hill/Mast OK\nHill/Tower OK\n");
    }
    // What the simulated Tower holds in its preset 2 (its memory is saved on every set).
    PresetParameters simPreset2() {
        PresetParameters preset;
        std::string error;
        EXPECT_TRUE(readWholePresetFile((store.path() / "encoder1" / "Preset-2.dat").string(),
                                        preset, &error))
            << error;
        return preset;
    }

    test::TempDir work, store;
    test::SimProcess sim{
        {"--encoders", "2", "--tcp", "127.0.0.1:0", "--store-root", store.path().string()}};
};

TEST_F(SettingsHistory, BackupsBecomeVersionsThatDiffAndRestoreFieldByField) {
    // The repository is no site, and no name may reach into it.
    EXPECT_TRUE(fs::is_directory(root() / ".git"));
    EXPECT_EQ(ctl({"list"}).out.find(".git"), std::string::npos);
    EXPECT_EQ(ctl({"add", ".git/hooks", "--ip", "127.0.0.1", "--tcp-port", "1"}).exitCode, 2);
    EXPECT_EQ(ctl({"diff", ".git/hooks"}).exitCode, 2);

    backup();
    const std::string first = git({"rev-parse", "--short=7", "HEAD"}).out.substr(0, 7);
    const double oldGain = simPreset2().mpxGain;
    PresetParameters changed = simPreset2();
    changed.mpxGain = oldGain + 1.5;
    const std::string edited = (work.path() / "edited.dat").string();
    ASSERT_TRUE(writePresetFile(edited, changed));
    ASSERT_EQ(ctl({"--encoder", "Hill/Tower", "write-preset", "2", "--in", edited}).exitCode, 0);
    backup();

    // The newest version names the one field, with its old and new value as the page shows it.
    const auto history = ctl({"history", "Hill/Tower"});
    ASSERT_EQ(history.exitCode, 0) << history.err;
    const std::string line = "  Hill/Tower Preset-2.dat mpxGain old=0.0 new=1.5 unit=dB\n";
    const std::size_t second = history.out.find('\n');
    EXPECT_EQ(history.out.substr(second + 1, line.size() + 8).substr(0, line.size()), line)
        << history.out;
    EXPECT_NE(history.out.find("\n" + first + " "), std::string::npos) << history.out;
    EXPECT_EQ(git({"log", "-1", "--format=%s"}).out,
              "Hill/Tower Preset-2: mpxGain 0.0 -> 1.5 dB\n");
    const auto patch = git({"log", "-p", "-1"});
    EXPECT_NE(patch.out.find("\n-mpxGain=0\n+mpxGain=1.5\n"), std::string::npos) << patch.out;
    // The other encoder did not change after its first version.
    const auto mast = nlohmann::json::parse(ctl({"history", "Hill/Mast", "--json"}).out);
    ASSERT_EQ(mast["versions"].size(), 1u);
    EXPECT_EQ(mast["versions"][0]["shortId"], first);

    // An unchanged backup records nothing.
    EXPECT_EQ(versionCount(), "2\n");
    backup();
    EXPECT_EQ(versionCount(), "2\n");

    // From the first version: exactly that field differs on the encoder; restoring it puts
    // the old value back there and leaves every stored file and the history as they were.
    const auto files = storedBytes(root());
    const auto diff = ctl({"diff", "Hill/Tower", "--from", first});
    EXPECT_EQ(diff.exitCode, 3) << diff.err;
    EXPECT_EQ(diff.out, "Preset-2.dat mpxGain stored=0.0 encoder=1.5 unit=dB\n");
    EXPECT_EQ(ctl({"diff", "Hill/Tower", "--from", first, "--to", "HEAD"}).out,
              "Preset-2.dat mpxGain from=0.0 to=1.5 unit=dB\n");
    const auto restore = ctl({"restore", "Hill/Tower", "--from", first});
    EXPECT_EQ(restore.exitCode, 0) << restore.err;
    EXPECT_EQ(simPreset2().mpxGain, oldGain);
    EXPECT_EQ(storedBytes(root()), files);
    EXPECT_EQ(versionCount(), "2\n");
    EXPECT_EQ(ctl({"diff", "Hill/Tower", "--from", first}).exitCode, 0);
    EXPECT_EQ(ctl({"diff", "Hill/Tower", "--from", "no-such-version"}).exitCode, 1);
}

// Versions go only into the history's own repository, on its own branch, and take only
// the stored files: each case leaves HEAD where it was and says why on stderr.
// A change made with set is one version, its message naming the encoder, field and values.
TEST_F(SettingsHistory, ASetIsOneVersionNamingTheChange) {
    backup();
    const std::string before = versionCount();
    const auto set =
        ctl({"set", "Hill/Tower", "--presets", "2", "mpxGain=2.5", "--apply", "--canary", "1"});
    ASSERT_EQ(set.exitCode, 0) << set.out << set.err;
    EXPECT_EQ(std::stoi(versionCount()), std::stoi(before) + 1);
    const std::string subject = git({"log", "-1", "--format=%s"}).out;
    EXPECT_EQ(subject.rfind("Hill/Tower Preset-2: mpxGain ", 0), 0u) << subject;
    EXPECT_NE(subject.find("-> 2.5 dB"), std::string::npos) << subject;
    EXPECT_EQ(simPreset2().mpxGain, 2.5);
}

TEST_F(SettingsHistory, RecordsOnlyOnItsOwnBranchAndRefusesWithAReason) {
    backup();
    std::string branch = git({"symbolic-ref", "--short", "HEAD"}).out;
    ASSERT_FALSE(branch.empty());
    branch.pop_back();
    struct Case {
        const char* name;
        std::vector<std::vector<std::string>> gitSteps;
        int exitCode;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"detached HEAD", {{"checkout", "-q", "--detach"}}, 1, "is detached"},
        {"another branch", {{"checkout", "-q", "-b", "mine"}}, 1, "not on the history's branch"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = git({"rev-parse", "HEAD"}).out;
        for (const auto& step : c.gitSteps)
            ASSERT_EQ(git(step).exitCode, 0);
        const auto result = ctl({"backup"});
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        EXPECT_EQ(result.out, "Hill/Mast OK\nHill/Tower OK\n");
        EXPECT_NE(result.err.find("the history did not record them"), std::string::npos)
            << result.err;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
        EXPECT_EQ(git({"rev-parse", "HEAD"}).out, before);
        ASSERT_EQ(git({"checkout", "-q", branch}).exitCode, 0);
    }
}

// A history made before the mark has only the diff driver in its config: it is still the
// history, and is marked at its next backup on the branch HEAD is on.
TEST_F(SettingsHistory, HistoryMadeBeforeTheMarkIsTakenAndMarked) {
    ASSERT_EQ(git({"config", "--unset", "q93.history"}).exitCode, 0);
    ASSERT_EQ(git({"config", "--unset", "q93.branch"}).exitCode, 0);
    backup();
    EXPECT_EQ(versionCount(), "1\n");
    EXPECT_EQ(git({"config", "--bool", "q93.history"}).out, "true\n");
    EXPECT_EQ(git({"config", "q93.branch"}).out, git({"symbolic-ref", "HEAD"}).out);
}

TEST_F(SettingsHistory, StaleIndexLockIsRemovedAndStagedFilesStayOutOfTheVersion) {
    // A backup ended while it wrote, and a file the user staged in LocationData by hand.
    test::writeFileBytes((root() / "staged.txt").string(), "mine\n");
    ASSERT_EQ(git({"add", "staged.txt"}).exitCode, 0);
    test::writeFileBytes((root() / ".git" / "index.lock").string(), "");
    const auto result = ctl({"backup"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("removed a stale .git/index.lock"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(root() / ".git" / "index.lock"));
    EXPECT_EQ(versionCount(), "1\n");
    const std::string tree = git({"ls-tree", "-r", "--name-only", "HEAD"}).out;
    EXPECT_EQ(tree.find("staged.txt"), std::string::npos) << tree;
    EXPECT_NE(tree.find("Hill/Tower/Preset-2.dat"), std::string::npos) << tree;
    EXPECT_NE(tree.find(".gitattributes"), std::string::npos) << tree;
    // Still staged as the user left it; the stored files match the version.
    EXPECT_EQ(git({"diff", "--cached", "--name-only"}).out, "staged.txt\n");
    EXPECT_EQ(git({"diff", "--name-only"}).out, "");
}

TEST_F(SettingsHistory, NamesThatBreakALineAreQuotedInTheMessage) {
    const fs::path odd = root() / "Caf\xe9" / "Two\nLines";
    fs::create_directories(odd);
    test::writeFileBytes((odd / "tcp.txt").string(),
                         "127.0.0.1\r\n" + std::to_string(sim.port()) + "\r\nTCP/IP\r\n3\r\n1\r\n");
    const auto result = ctl({"backup", "--jobs", "1"});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    const std::string message = git({"log", "-1", "--format=%B"}).out;
    EXPECT_NE(message.find("\n\"Caf\\xe9/Two\\nLines\" device: stored\n"), std::string::npos)
        << message;
    EXPECT_EQ(message.find("Two\nLines"), std::string::npos) << message;
}

// A repository of the user's own in LocationData is not the history: init refuses it, and a
// backup stores the files but records nothing there, neither a version nor the staged file.
TEST(SettingsHistoryForeign, UsersOwnRepositoryIsLeftAlone) {
    test::TempDir work, store;
    test::SimProcess sim{{"--tcp", "127.0.0.1:0", "--store", store.path().string()}};
    ASSERT_TRUE(sim.ready()) << sim.error();
    const std::string folder = work.path().string();
    const fs::path root = work.path() / "LocationData";
    ASSERT_EQ(test::runCtl({"add", "Hill/Tower", "--ip", "127.0.0.1", "--tcp-port",
                            std::to_string(sim.port())},
                           folder)
                  .exitCode,
              0);
    const auto git = [&](std::vector<std::string> args) {
        std::vector<std::string> argv{
            "/usr/bin/env", "git",         "-C", root.string(),
            "-c",           "user.name=U", "-c", "user.email=u@example.org"};
        argv.insert(argv.end(), args.begin(), args.end());
        return test::runProgram(argv, 30);
    };
    test::writeFileBytes((root / "notes.txt").string(), "notes\n");
    test::writeFileBytes((root / "staged.txt").string(), "staged\n");
    ASSERT_EQ(git({"init", "-q"}).exitCode, 0);
    ASSERT_EQ(git({"add", "notes.txt"}).exitCode, 0);
    ASSERT_EQ(git({"commit", "-q", "-m", "mine"}).exitCode, 0);
    ASSERT_EQ(git({"add", "staged.txt"}).exitCode, 0);
    const std::string head = git({"rev-parse", "HEAD"}).out;

    const auto init = test::runCtl({"history", "init"}, folder);
    EXPECT_EQ(init.exitCode, 1);
    EXPECT_NE(init.err.find("history init did not make"), std::string::npos) << init.err;
    const auto backup = test::runCtl({"backup"}, folder);
    EXPECT_EQ(backup.exitCode, 0) << backup.err;
    EXPECT_EQ(backup.out, "Hill/Tower OK\n");
    EXPECT_TRUE(fs::exists(root / "Hill" / "Tower" / "device.dat"));
    EXPECT_NE(backup.err.find("no version recorded"), std::string::npos) << backup.err;
    EXPECT_EQ(git({"rev-parse", "HEAD"}).out, head);
    EXPECT_EQ(git({"diff", "--cached", "--name-only"}).out, "staged.txt\n");
}

TEST(SettingsHistoryAbsent, BackupStaysAsItWasAndHistoryTellsHowToStart) {
    test::TempDir work, store;
    test::SimProcess sim{{"--tcp", "127.0.0.1:0", "--store", store.path().string()}};
    ASSERT_TRUE(sim.ready()) << sim.error();
    const std::string folder = work.path().string();
    ASSERT_EQ(test::runCtl({"add", "Hill/Tower", "--ip", "127.0.0.1", "--tcp-port",
                            std::to_string(sim.port())},
                           folder)
                  .exitCode,
              0);
    // --push has nothing to push: only a note, and the backup stands.
    const auto backup = test::runCtl({"backup", "--push"}, folder);
    EXPECT_EQ(backup.exitCode, 0) << backup.err;
    EXPECT_EQ(backup.out, "Hill/Tower OK\n");
    EXPECT_NE(backup.err.find("not pushed: no settings history"), std::string::npos);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"history"},
                                                 {"history", "push"},
                                                 {"history", "remote", "/tmp/x.git"}}) {
        const auto result = test::runCtl(args, folder);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.err.find("q93ctl history init makes one"), std::string::npos)
            << result.err;
    }
    EXPECT_FALSE(fs::exists(work.path() / "LocationData" / ".git"));
}

}  // namespace
}  // namespace q93
