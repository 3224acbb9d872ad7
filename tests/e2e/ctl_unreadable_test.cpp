#include <gtest/gtest.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <filesystem>

#include "tests/e2e/ctl_run.h"
#include "tests/support/process_runner.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSetpriv = "/usr/bin/setpriv";

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A store with one encoder that answers (a q93sim on loopback), one site whose folder nobody
// may list and one encoder whose tcp.txt nobody may read. Root reads whatever it likes, so
// as root q93ctl runs as user nobody; every other folder is open to everyone.
class UnreadableFolders : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() == 0 && !fs::exists(kSetpriv))
            GTEST_SKIP() << "running as root, and without setpriv nothing is unreadable";
        fs::create_directories(dir.path() / "sim");
        sim = std::make_unique<test::SimProcess>(std::vector<std::string>{
            "--tcp", "127.0.0.1:0", "--store", (dir.path() / "sim").string()});
        ASSERT_TRUE(sim->ready()) << sim->error();
        const std::string tcp =
            "127.0.0.1\r\n" + std::to_string(sim->port()) + "\r\nTCP/IP\r\n3\r\n1\r\n";
        for (const char* encoder : {"Alpha/Tower", "Bravo/Mast", "Charlie/Dish"}) {
            fs::create_directories(work() / encoder);
            test::writeFileBytes((work() / encoder / "tcp.txt").string(), tcp);
        }
        for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
            fs::permissions(entry.path(), entry.is_directory() ? fs::perms::all : fs::perms(0666));
        }
        fs::permissions(dir.path(), fs::perms::all);
        fs::permissions(work() / "Bravo", fs::perms::none);
        fs::permissions(work() / "Charlie/Dish/tcp.txt", fs::perms::none);
    }

    void TearDown() override {
        // Back to what the temporary folder's removal needs.
        std::error_code ignored;
        fs::permissions(work(), fs::perms::all, ignored);
        fs::permissions(work() / "Bravo", fs::perms::all, ignored);
    }

    fs::path work() const { return dir.path() / "LocationData"; }

    test::ProcessResult ctl(const std::vector<std::string>& args) const {
        std::vector<std::string> argv;
        if (::geteuid() == 0)
            argv = {kSetpriv, "--reuid=65534", "--regid=65534", "--clear-groups"};
        argv.push_back(test::binPath("q93ctl"));
        argv.insert(argv.end(), args.begin(), args.end());
        return test::runProgram(argv, 60, dir.path().string());
    }

    test::TempDir dir;
    std::unique_ptr<test::SimProcess> sim;
};

const std::string kSiteFailure = "cannot list './LocationData/Bravo/': Permission denied";
const std::string kTcpFailure =
    "cannot read './LocationData/Charlie/Dish/tcp.txt': Permission denied";

// Every command over the tree names what it cannot read, counts it as failed and exits 1;
// the encoder that can be read is still done.
TEST_F(UnreadableFolders, AreNamedCountedAndFailTheCommand) {
    const auto list = ctl({"list"});
    EXPECT_EQ(list.exitCode, 1) << list.err;
    EXPECT_TRUE(contains(list.out, "Alpha/Tower folder=")) << list.out;
    EXPECT_TRUE(contains(list.out, "Bravo/ FAILED message=\"" + kSiteFailure + "\"\n")) << list.out;
    EXPECT_TRUE(contains(list.out,
                         "Charlie/Dish FAILED folder=./LocationData/Charlie/Dish/ "
                         "message=\"" +
                             kTcpFailure + "\"\n"))
        << list.out;
    EXPECT_FALSE(contains(list.out, "encoders=0")) << list.out;
    EXPECT_FALSE(contains(list.out, "tcp.txt=missing")) << list.out;

    const auto listJson = ctl({"list", "--json"});
    EXPECT_EQ(listJson.exitCode, 1);
    const auto listed = nlohmann::json::parse(listJson.out);
    EXPECT_EQ(listed["failed"], 2);
    ASSERT_EQ(listed["sites"].size(), 3u);
    EXPECT_EQ(listed["sites"][1]["error"], kSiteFailure);
    EXPECT_EQ(listed["sites"][2]["encoders"][0]["error"], kTcpFailure);

    const auto backup = ctl({"backup", "--json"});
    EXPECT_EQ(backup.exitCode, 1) << backup.err;
    const auto done = nlohmann::json::parse(backup.out);
    EXPECT_EQ(done["failed"], 2);
    ASSERT_EQ(done["encoders"].size(), 3u);
    EXPECT_EQ(done["encoders"][0]["name"], "Alpha/Tower");
    EXPECT_EQ(done["encoders"][0]["ok"], true) << backup.out;
    EXPECT_EQ(done["encoders"][1]["name"], "Bravo/");
    EXPECT_EQ(done["encoders"][1]["message"], kSiteFailure);
    EXPECT_EQ(done["encoders"][2]["name"], "Charlie/Dish");
    EXPECT_EQ(done["encoders"][2]["message"], kTcpFailure);
    EXPECT_TRUE(fs::exists(work() / "Alpha/Tower/device.dat"));

    // A word naming an encoder inside the site that cannot be listed gets its failure, not
    // "no encoder".
    const auto named = ctl({"backup", "Bravo/Mast"});
    EXPECT_EQ(named.exitCode, 1);
    EXPECT_EQ(named.out, "Bravo/ FAILED step=folder message=\"" + kSiteFailure + "\"\n");

    const auto check = ctl({"check"});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_TRUE(contains(check.err, kSiteFailure)) << check.err;
    EXPECT_TRUE(contains(check.err, kTcpFailure)) << check.err;

    const auto restore = ctl({"restore", "Bravo/Mast"});
    EXPECT_EQ(restore.exitCode, 1);
    EXPECT_TRUE(contains(restore.err,
                         "cannot read './LocationData/Bravo/Mast/': "
                         "Permission denied"))
        << restore.err;
    const auto single = ctl({"--encoder", "Charlie/Dish", "read-device"});
    EXPECT_EQ(single.exitCode, 1);
    EXPECT_TRUE(contains(single.err, kTcpFailure)) << single.err;

    // The first version of a history would leave them out: refused, nothing made.
    const auto init = ctl({"history", "init"});
    EXPECT_EQ(init.exitCode, 1);
    EXPECT_TRUE(contains(init.err, kSiteFailure)) << init.err;
    EXPECT_FALSE(fs::exists(work() / ".git"));
}

TEST_F(UnreadableFolders, AnUnreadableLocationDataIsAFailureNotAnEmptyStore) {
    fs::permissions(work(), fs::perms::none);
    const std::string failure = "cannot list './LocationData/': Permission denied";
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"list"}, {"list", "--json"}, {"backup"}, {"check"}}) {
        SCOPED_TRACE(args.front());
        const auto result = ctl(args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(contains(result.err, failure)) << result.err;
        EXPECT_FALSE(contains(result.out, "\"sites\"")) << result.out;
    }
}

}  // namespace
}  // namespace q93
