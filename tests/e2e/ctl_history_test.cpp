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
    EXPECT_EQ(test::runCtl({"backup"}, folder).exitCode, 0);
    EXPECT_FALSE(fs::exists(work.path() / "LocationData" / ".git"));
    const auto history = test::runCtl({"history"}, folder);
    EXPECT_EQ(history.exitCode, 1);
    EXPECT_NE(history.err.find("q93ctl history init makes one"), std::string::npos);
}

}  // namespace
}  // namespace q93
