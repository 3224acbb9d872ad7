#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <thread>

#include "protocol/parameter_files.h"
#include "store/encoder_lock.h"
#include "store/location_store.h"
#include "tests/e2e/ctl_run.h"
#include "tests/protocol/transfer_fixture.h"
#include "tests/support/immutable_file.h"
#include "tests/support/process_runner.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Every entry of a folder with its bytes; a sub-folder shows as "<folder>".
using FolderState = std::map<std::string, std::string>;

FolderState folderState(const fs::path& folder) {
    FolderState state;
    for (const auto& entry : fs::directory_iterator(folder)) {
        state[entry.path().filename().string()] =
            entry.is_directory() ? "<folder>" : test::readFileBytes(entry.path().string());
    }
    return state;
}

// What tells `got` from `want`: each name that is missing, left over or holds other bytes;
// empty when the two are the same byte for byte.
std::string folderDifference(const FolderState& got, const FolderState& want) {
    std::string difference;
    for (const auto& [name, bytes] : want) {
        const auto found = got.find(name);
        if (found == got.end())
            difference += name + " missing; ";
        else if (found->second != bytes)
            difference += name + " changed; ";
    }
    for (const auto& [name, bytes] : got) {
        if (want.count(name) == 0)
            difference += name + " left beside; ";
    }
    return difference;
}

void setFolderState(const fs::path& folder, const FolderState& state) {
    for (const auto& entry : fs::directory_iterator(folder))
        fs::remove_all(entry.path());
    for (const auto& [name, bytes] : state)
        test::writeFileBytes((folder / name).string(), bytes);
}

// q93ctl started without waiting for it, in a process group of its own whose id is its pid,
// its output going to files in `directory`.
pid_t startCtl(const fs::path& directory, const std::vector<std::string>& args,
               const std::string& tag) {
    std::vector<std::string> argv{test::binPath("q93ctl")};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (std::string& arg : argv)
        raw.push_back(arg.data());
    raw.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const std::string out = tag + ".out", err = tag + ".err";
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, raw[0], &actions, &attributes, raw.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return pid;
}

// Waits for q93ctl and whatever else of its process group this process is the parent of, and
// returns q93ctl's own wait status; -1 when the group did not end within 10 s (it is then
// killed).
int waitForGroup(pid_t leader) {
    int leaderStatus = -1;
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        int status = 0;
        const pid_t ended = ::waitpid(-leader, &status, WNOHANG);
        if (ended < 0)
            return leaderStatus;
        if (ended == leader)
            leaderStatus = status;
        if (ended == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(-leader, SIGKILL);
    while (::waitpid(-leader, nullptr, 0) > 0) {
    }
    return -1;
}

// One encoder, Site/Enc, reached over TCP on a simulated encoder. Its folder starts with
// files that differ from what the encoder holds, and without Preset-8.dat: a backup that
// fails must leave exactly these; one that succeeds must give exactly `replaced`.
class BackupFaults : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.ready()) << sim.error();
        const auto added = test::runCtl({"add", "Site/Enc", "--port", "TCP/IP", "--ip", "127.0.0.1",
                                         "--tcp-port", std::to_string(sim.port())},
                                        work.path().string());
        ASSERT_EQ(added.exitCode, 0) << added.err;
        ASSERT_TRUE(writeDeviceFile(deviceFilePath(stored()), test::distinctDevice(99)));
        for (int n = 1; n < kPresetsPerEncoder; ++n)
            ASSERT_TRUE(writePresetFile(presetFilePath(stored(), n), test::distinctPreset(90 + n)));
        original = folderState(folder);
        const auto backup = ctl({"backup"});
        ASSERT_EQ(backup.exitCode, 0) << backup.out << backup.err;
        replaced = folderState(folder);
        ASSERT_EQ(replaced.size(), 10u);
        setFolderState(folder, original);
    }

    std::string stored() const { return folder.string() + "/"; }
    test::ProcessResult ctl(const std::vector<std::string>& args) const {
        return test::runCtl(args, work.path().string());
    }

    test::TempDir work;
    test::SimProcess sim{{"--tcp", "127.0.0.1:0"}};
    fs::path folder = work.path() / "LocationData" / "Site" / "Enc";
    FolderState original;
    FolderState replaced;
};

std::shared_ptr<void> immutable(const fs::path& path) {
    auto flag = std::make_shared<test::ImmutableFile>(path.string());
    return flag->ok() ? flag : nullptr;
}

TEST_F(BackupFaults, AFailedBackupLeavesEveryFileAsItWasAndNothingBeside) {
    const std::string prlimit = "/usr/bin/prlimit";
    const std::string ctlPath = test::binPath("q93ctl");
    const std::string self = std::to_string(::getpid());
    struct Case {
        const char* name;
        bool chattr;  // the arrangement needs root's chattr +i
        std::function<std::shared_ptr<void>(const fs::path&)> arrange;
        std::vector<std::string> command;
        std::string message;
    };
    const Case cases[] = {
        {"a preset that cannot be replaced once device.dat and three presets were",
         true,
         [](const fs::path& f) { return immutable(f / "Preset-4.dat"); },
         {ctlPath, "backup"},
         "cannot replace './LocationData/Site/Enc/Preset-4.dat': Operation not permitted; every "
         "file was put back as it was"},
        {"a folder that cannot be written",
         true,
         [](const fs::path& f) { return immutable(f); },
         {ctlPath, "backup"},
         "cannot write './LocationData/Site/Enc/device.dat': Operation not permitted"},
        {"a preset name taken by a folder",
         false,
         [](const fs::path& f) -> std::shared_ptr<void> {
             fs::create_directory(f / "Preset-8.dat");
             return std::make_shared<int>(0);
         },
         {ctlPath, "backup"},
         "cannot write './LocationData/Site/Enc/Preset-8.dat': is a directory"},
        {"a file-size limit below a device file",
         false,
         nullptr,
         {prlimit, "--fsize=250", ctlPath, "backup", "--jobs", "2"},
         "cannot write './LocationData/Site/Enc/device.dat': File too large"},
        {"the encoder in use by another process",
         false,
         [](const fs::path& f) -> std::shared_ptr<void> {
             auto lock = std::make_shared<EncoderLock>();
             std::string error;
             return lock->acquire(f.string() + "/", std::chrono::milliseconds(0), &error) ? lock
                                                                                          : nullptr;
         },
         {ctlPath, "--lock-wait", "0.3", "backup"},
         "'./LocationData/Site/Enc/' is in use by process " + self + " ("},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.chattr && ::geteuid() != 0) {
            std::printf("skipped without root: %s\n", c.name);
            continue;
        }
        setFolderState(folder, original);
        const std::shared_ptr<void> fault = c.arrange ? c.arrange(folder) : nullptr;
        ASSERT_TRUE(!c.arrange || fault) << "the fault could not be arranged";
        const FolderState before = folderState(folder);
        const auto run = test::runProgram(c.command, 60, work.path().string());
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_NE(run.out.find("Site/Enc FAILED step="), std::string::npos) << run.out;
        EXPECT_NE(run.out.find(c.message), std::string::npos) << run.out;
        EXPECT_EQ(folderDifference(folderState(folder), before), "");
    }
}

// Ended from the terminal or by kill while the files are being replaced: the replacement is
// finished first, and only then does q93ctl end.
TEST_F(BackupFaults, AnEndingSignalWaitsUntilTheFilesAreReplaced) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        setFolderState(folder, original);
        const int watch = ::inotify_init1(IN_CLOEXEC);
        ASSERT_GE(::inotify_add_watch(watch, folder.c_str(), IN_CREATE), 0);
        const pid_t pid = startCtl(work.path(), {"backup"}, work.file("signalled"));
        ASSERT_GT(pid, 0);
        // The first file made in the folder starts the replacement.
        pollfd ready{watch, POLLIN, 0};
        const bool created = ::poll(&ready, 1, 5000) == 1;
        ::kill(-pid, signal);
        ::close(watch);
        const int status = waitForGroup(pid);
        ASSERT_TRUE(created);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(folderDifference(folderState(folder), replaced), "");
    }
}

// A cron job and a person back up the same encoder at once: they take turns, and each
// leaves either all nine files replaced or all as they were.
TEST_F(BackupFaults, OverlappingBackupsOfOneEncoderTakeTurns) {
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        setFolderState(folder, original);
        const bool faulty = round % 2 == 1 && ::geteuid() == 0;
        const auto fault = faulty ? immutable(folder / "Preset-4.dat") : nullptr;
        ASSERT_EQ(fault != nullptr, faulty);
        const pid_t first = startCtl(work.path(), {"backup"}, work.file("first"));
        const pid_t second = startCtl(work.path(), {"backup"}, work.file("second"));
        const int firstStatus = waitForGroup(first);
        const int secondStatus = waitForGroup(second);
        for (const int status : {firstStatus, secondStatus}) {
            ASSERT_TRUE(WIFEXITED(status)) << status;
            EXPECT_EQ(WEXITSTATUS(status), faulty ? 1 : 0)
                << test::readFileBytes(work.file("first.out"))
                << test::readFileBytes(work.file("second.out"));
        }
        EXPECT_EQ(folderDifference(folderState(folder), faulty ? original : replaced), "");
    }
}

// A single transfer given --encoder is a user of that encoder too: it waits for the lock
// like a backup, and writes into the folder only while it holds it.
TEST_F(BackupFaults, ATransferGivenTheEncoderTakesItsLock) {
    const std::vector<std::string> read = {"--lock-wait", "0.2",         "--encoder",
                                           "Site/Enc",    "read-preset", "3"};
    {
        EncoderLock held;
        std::string error;
        ASSERT_TRUE(held.acquire(stored(), std::chrono::milliseconds(0), &error)) << error;
        const auto busy = ctl(read);
        EXPECT_EQ(busy.exitCode, 1);
        EXPECT_NE(busy.err.find("q93ctl: './LocationData/Site/Enc/' is in use by process " +
                                std::to_string(::getpid())),
                  std::string::npos)
            << busy.err;
        EXPECT_EQ(folderDifference(folderState(folder), original), "");
    }
    const auto free = ctl(read);
    EXPECT_EQ(free.exitCode, 0) << free.err;
    EXPECT_EQ(test::readFileBytes(presetFilePath(stored(), 3)), replaced["Preset-3.dat"]);
}

// Ended while its jobs wait on slow encoders, q93ctl ends at once by that signal, as the
// terminal asked: no job holds it back, and no file is touched.
TEST(FleetJobs, AnEndingSignalEndsJobsThatWaitOnEncoders) {
    test::TempDir work;
    // Slow answers: a backup would take minutes.
    test::SimProcess sim({"--encoders", "2", "--fault", "delay:200", "--verbose"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    for (int k = 0; k < 2; ++k) {
        const auto added =
            test::runCtl({"add", "Site/E" + std::to_string(k), "--port", "TCP/IP", "--ip",
                          "127.0.0.1", "--tcp-port", std::to_string(sim.port() + k)},
                         work.path().string());
        ASSERT_EQ(added.exitCode, 0) << added.err;
    }
    const fs::path site = work.path() / "LocationData" / "Site";
    const FolderState before[] = {folderState(site / "E0"), folderState(site / "E1")};
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(strsignal(signal));
        const std::size_t asked = sim.stderrText().size();
        const pid_t pid = startCtl(work.path(), {"backup", "--jobs", "2"}, work.file("slow"));
        ASSERT_GT(pid, 0);
        // Both encoders have been asked something.
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        auto queries = [&] {
            const std::string log = sim.stderrText().substr(asked);
            std::size_t count = 0;
            for (std::size_t at = log.find("query"); at != std::string::npos;
                 at = log.find("query", at + 1))
                ++count;
            return count;
        };
        while (queries() < 2 && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_GE(queries(), 2u);
        const auto sent = Clock::now();
        ::kill(-pid, signal);
        const int status = waitForGroup(pid);
        EXPECT_LT(Clock::now() - sent, std::chrono::seconds(1));
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(folderDifference(folderState(site / "E0"), before[0]), "");
        EXPECT_EQ(folderDifference(folderState(site / "E1"), before[1]), "");
    }
}

}  // namespace
}  // namespace q93
