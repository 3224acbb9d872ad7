#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

#include "cli/quoted_text.h"
#include "protocol/parameter_files.h"
#include "store/location_store.h"
#include "tests/e2e/ctl_run.h"
#include "tests/protocol/transfer_fixture.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

namespace fs = std::filesystem;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(QuotedText, EveryByteComesBackFromItsPrintedForm) {
    std::vector<std::string> texts = {"plain",
                                      "",
                                      "Site A",
                                      "\"ab",
                                      "cd\"",
                                      "a\\b",
                                      "Café",
                                      "\"quoted\"",
                                      "\xe2\x82",
                                      "\xed\xa0\x80",
                                      "\xf4\x90\x80\x80"};
    for (int byte = 0; byte < 256; ++byte)
        texts.push_back("a" + std::string(1, static_cast<char>(byte)) + "1");
    for (const std::string& text : texts) {
        SCOPED_TRACE(ctl::cQuoted(text));
        const std::string printed = ctl::quotedIfNeeded(text);
        EXPECT_EQ(ctl::wordAsName(printed), text);
        EXPECT_EQ(ctl::wordAsName(ctl::jsonText(text)), text);
        // A printed form holds nothing a shell word or a line would split or hide.
        for (const char c : printed)
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
        EXPECT_EQ(printed.find(' ') == std::string::npos || printed.front() == '"', true);
    }
    EXPECT_EQ(ctl::quotedIfNeeded("Caf\xe9/E\t1"), "\"Caf\\xe9/E\\t1\"");
    EXPECT_EQ(ctl::quotedIfNeeded("Café"), "Café");
    EXPECT_EQ(ctl::wordAsName("\"a\"/\"b\""), "\"a\"/\"b\"");  // not one quoted form
}

// Encoders whose names need quoting, and one whose tcp.txt holds a NUL.
class OddNames : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& [site, encoder] : kFolders) {
            const fs::path folder = root() / site / encoder;
            fs::create_directories(folder);
            ASSERT_TRUE(writeDeviceFile((folder / "device.dat").string(), test::inRangeDevice(1)));
        }
        test::writeFileBytes((root() / "Plain" / "E1" / "tcp.txt").string(),
                             std::string("127.0.0.1\0x\r\n5000\r\nTCP/IP\r\n3\r\n1\r\n", 33));
    }
    fs::path root() const { return work.path() / "LocationData"; }
    test::ProcessResult ctl(const std::vector<std::string>& args) {
        return test::runCtl(args, work.path().string());
    }

    static constexpr std::pair<const char*, const char*> kFolders[] = {
        {"Site A", "Enc 1"}, {"Caf\xe9", "E\t1"}, {"\"ab", "cd\""}, {"Plain", "E1"}};
    test::TempDir work;
};

TEST_F(OddNames, ListQuotesThemAndEveryPrintedNameFindsItsEncoderAgain) {
    const auto list = ctl({"list"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out,
              "\"\\\"ab/cd\\\"\" folder=\"./LocationData/\\\"ab/cd\\\"/\" label=\"cd\\\"\" "
              "tcp.txt=missing device.dat=yes presets=\"\"\n"
              "\"Caf\\xe9/E\\t1\" folder=\"./LocationData/Caf\\xe9/E\\t1/\" label=\"E\\t1\" "
              "tcp.txt=missing device.dat=yes presets=\"\"\n"
              "Plain/E1 folder=./LocationData/Plain/E1/ label=\"E1 - 127.0.0.1\\x00x\" "
              "ipAddress=\"127.0.0.1\\x00x\" tcpPort=5000 portName=TCP/IP speedIndex=3 readAck=1 "
              "device.dat=yes presets=\"\"\n"
              "\"Site A/Enc 1\" folder=\"./LocationData/Site A/Enc 1/\" label=\"Enc 1\" "
              "tcp.txt=missing device.dat=yes presets=\"\"\n");

    // The name as list prints it, given back word for word, and as JSON gives it.
    const std::vector<std::string> printed = {"\"\\\"ab/cd\\\"\"", "\"Caf\\xe9/E\\t1\"", "Plain/E1",
                                              "\"Site A/Enc 1\""};
    const auto json = nlohmann::json::parse(ctl({"list", "--json"}).out);
    ASSERT_EQ(json["sites"].size(), 4u);
    EXPECT_EQ(json["sites"][1]["encoders"][0]["folder"], "\"./LocationData/Caf\\xe9/E\\t1/\"");
    EXPECT_EQ(json["sites"][3]["encoders"][0]["name"], "Site A/Enc 1");
    for (std::size_t i = 0; i < printed.size(); ++i) {
        const std::string folder = json["sites"][i]["encoders"][0]["folder"];
        const std::string fromJson = json["sites"][i]["encoders"][0]["name"];
        const std::string device = ctl::quotedIfNeeded(ctl::wordAsName(folder) + "device.dat");
        for (const std::string& name : {printed[i], fromJson}) {
            SCOPED_TRACE(name);
            const auto check = ctl({"check", name});
            EXPECT_EQ(check.exitCode, 0) << check.err;
            EXPECT_EQ(check.out, device + " ok\n");
            const auto restore = ctl({"restore", name, "--presets", "1"});
            EXPECT_EQ(restore.exitCode, 1);
            EXPECT_TRUE(contains(restore.err, "Preset-1.dat': No such file")) << restore.err;
        }
    }
}

TEST(CtlAdd, WhatAddWritesIsReadBackOrRefusedAndAFailedAddLeavesNoFolder) {
    test::SimEncoder sim(test::Transport{"Tcp", true, true});
    ASSERT_TRUE(sim.ready()) << sim.error();
    test::TempDir work;
    auto ctl = [&](const std::vector<std::string>& args) {
        return test::runCtl(args, work.path().string());
    };
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case refused[] = {
        {{"add", "Hill/Tower", "--ip", "q93-tower.hilltop.example", "--tcp-port", "5000"},
         "--ip takes at most 18 characters and no line break"},
        {{"add", "Hill/Tower", "--port", "COM1\nCOM2"}, "--port takes at most 18 characters"},
        {{"add", "Hill/Tower", "--ip", "127.0.0.1"}, "TCP/IP needs --tcp-port N"},
        {{"add", "Hill/Tower", "--port", "TCP/IP", "--tcp-port", "5000"}, "TCP/IP needs --ip"},
    };
    for (const Case& c : refused) {
        const auto result = ctl(c.args);
        EXPECT_EQ(result.exitCode, 2) << c.args[3];
        EXPECT_TRUE(contains(result.err, c.message)) << result.err;
    }
    EXPECT_FALSE(fs::exists(work.path() / "LocationData"));

    // --ip alone means TCP/IP; what add wrote, list and a transfer read back.
    const std::string host = sim.connectionOptions()[3];
    const std::string port = sim.connectionOptions()[5];
    ASSERT_EQ(ctl({"--ip", host, "add", "Hill/Tower", "--tcp-port", port}).exitCode, 0);
    const fs::path tower = work.path() / "LocationData" / "Hill" / "Tower";
    EXPECT_EQ(test::readFileBytes((tower / "tcp.txt").string()),
              host + "\r\n" + port + "\r\nTCP/IP\r\n3\r\n1\r\n");
    EXPECT_TRUE(
        contains(ctl({"list"}).out, "ipAddress=" + host + " tcpPort=" + port + " portName=TCP/IP"));
    EXPECT_EQ(ctl({"--encoder", "Hill/Tower", "rtc-read"}).exitCode, 0);

    // A write that fails (no file may grow past 0 bytes) takes back the folders it made.
    const std::string limited = "trap '' XFSZ; ulimit -f 0; exec \"$0\" add \"$1\" --port COM1";
    for (const char* name : {"Hill/North", "Vale/South"}) {
        const auto failed = test::runProgram(
            {"/bin/sh", "-c", limited, test::binPath("q93ctl"), name}, 30, work.path().string());
        EXPECT_EQ(failed.exitCode, 1) << name;
        EXPECT_TRUE(contains(failed.err, "tcp.txt': File too large")) << failed.err;
    }
    EXPECT_FALSE(fs::exists(work.path() / "LocationData" / "Hill" / "North"));
    EXPECT_FALSE(fs::exists(work.path() / "LocationData" / "Vale"));
    EXPECT_TRUE(fs::exists(tower / "tcp.txt"));
}

// A name the store does not hold is a failure (1) in every command; with --json every failure
// still prints its document.
TEST(CtlFailureForms, UnknownNamesFailAlikeAndJsonFailuresPrintADocument) {
    test::TempDir work;
    auto ctl = [&](const std::vector<std::string>& args) {
        return test::runCtl(args, work.path().string());
    };
    const auto none = ctl({"backup", "--json"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(nlohmann::json::parse(none.out),
              nlohmann::json::parse(R"({"command": "backup", "ok": false,
                  "error": "no encoder under ./LocationData/"})"));

    ASSERT_EQ(ctl({"add", "Site/Tower", "--port", "COM9"}).exitCode, 0);
    const std::vector<std::vector<std::string>> unknown = {
        {"backup", "Nowhere"},       {"clock", "Nowhere", "--pc"},
        {"restore", "Site/Nowhere"}, {"diff", "Site/Nowhere"},
        {"check", "Site/Nowhere"},   {"--encoder", "Site/Nowhere", "rtc-read"},
    };
    for (const auto& args : unknown) {
        const auto result = ctl(args);
        EXPECT_EQ(result.exitCode, 1) << args.front();
        EXPECT_EQ(result.err, "q93ctl: no encoder '" + args[1] + "' under ./LocationData/\n");
    }

    struct JsonCase {
        std::vector<std::string> args;
        int exitCode;
        std::string error;
    };
    const JsonCase failures[] = {
        {{"backup", "Nowhere", "--json"}, 1, "no encoder 'Nowhere' under ./LocationData/"},
        {{"clock", "--json"}, 2, "clock takes --pc: the encoders are set from this PC's clock"},
        {{"diff", "Site/Tower", "--json"},
         1,
         "cannot read './LocationData/Site/Tower/device.dat': No such file or directory (backup "
         "stores what the encoder holds)"},
        {{"diff", "Site/Nowhere", "--json"}, 1, "no encoder 'Site/Nowhere' under ./LocationData/"},
        {{"list", "Site", "--json"}, 2, "list takes no names"},
    };
    for (const JsonCase& c : failures) {
        const auto result = ctl(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.args.front();
        const auto json = nlohmann::json::parse(result.out, nullptr, false);
        ASSERT_TRUE(json.is_object()) << result.out;
        EXPECT_EQ(json,
                  (nlohmann::json{{"command", c.args.front()}, {"ok", false}, {"error", c.error}}));
    }

    const auto day = ctl({"rtc-write", "--time", "2024-02-30 10:00:00"});
    EXPECT_EQ(day.exitCode, 2);
    EXPECT_TRUE(contains(day.err, "--time: no day 30 in 2024-02, which has 29 days")) << day.err;
}

}  // namespace
}  // namespace q93
