#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "protocol/device_transfer.h"
#include "protocol/parameter_files.h"
#include "protocol/preset_transfer.h"
#include "tests/link/tcp_loopback_server.h"
#include "tests/protocol/transfer_fixture.h"
#include "tests/support/config_home.h"
#include "tests/support/process_runner.h"

namespace q93 {
namespace {

using test::Transport;

test::ProcessResult ctl(const std::vector<std::string>& args, const std::string& directory = "") {
    std::vector<std::string> argv{test::binPath("q93ctl")};
    argv.insert(argv.end(), args.begin(), args.end());
    return test::runProgram(argv, 60, directory);
}

std::vector<std::string> with(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

template <typename Block, typename Steps>
void expectSameFields(const Block& got, const Block& want, Steps steps) {
    int row = 0;
    for (const auto& step : steps) {
        ++row;
        if (step.real != nullptr) {
            EXPECT_EQ(got.*step.real, want.*step.real) << "step " << row;
        } else {
            EXPECT_EQ(got.*step.integer, want.*step.integer) << "step " << row;
        }
    }
}

// An encoder folder ./LocationData/Site/Tower whose tcp.txt reaches the simulator.
class CtlWithSim : public ::testing::TestWithParam<Transport> {
protected:
    void SetUp() override {
        setenv("LC_ALL", "C", 1);
        ASSERT_TRUE(sim.ready()) << sim.error();
        folder = work.path() / "LocationData" / "Site" / "Tower";
        std::filesystem::create_directories(folder);
        const auto options = sim.connectionOptions();
        std::ofstream tcp(folder / "tcp.txt");
        if (GetParam().tcp) {
            tcp << options[3] << "\n" << options[5] << "\nTCP/IP\n3\n1\n";
        } else {
            tcp << "\n\n" << test::kSimPortName << "\n5\n" << (GetParam().ack ? 1 : 0) << "\n";
        }
    }
    test::ProcessResult run(const std::vector<std::string>& args) {
        return ctl(with({"--encoder", "Site/Tower"}, args), work.path().string());
    }
    std::string file(const std::string& name) const { return (folder / name).string(); }

    test::SimEncoder sim{GetParam()};
    test::TempDir work;
    std::filesystem::path folder;
};

TEST_P(CtlWithSim, PresetGoesOutAndComesBackThroughFiles) {
    const PresetParameters sent = test::distinctPreset(10);
    ASSERT_TRUE(writePresetFile(file("Preset-6.dat"), sent));
    // Every field distinct, most of them out of range: only --force sends them.
    const auto written = run({"write-preset", "6", "--force"});
    ASSERT_EQ(written.exitCode, 0) << written.err;
    // Without acknowledgements q93ctl may end before the simulator has taken the last frames.
    PresetParameters encoder = sim.presetOnce(6, [&sent](const PresetParameters& held) {
        return test::sameFields(held, sent, presetWriteSteps());
    });
    expectSameFields(encoder, sent, presetWriteSteps());

    // The file read into keeps what the encoder does not send.
    PresetParameters start;
    start.delayAnalogDigital = 77;
    ASSERT_TRUE(writePresetFile(file("back.dat"), start));
    const auto read = run({"read-preset", "6", "--out", file("back.dat")});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    PresetParameters back;
    ASSERT_EQ(readPresetFile(file("back.dat"), back), 200);
    expectSameFields(back, sent, presetReadSteps());
    EXPECT_EQ(back.delayAnalogDigital, 77);
    EXPECT_EQ(back.presetNumber, 6);
}

TEST_P(CtlWithSim, DeviceGoesOutAndComesBackWithTheStatus) {
    DeviceParameters sent = test::distinctDevice(20);
    sent.activePreset = 0;  // factory preset 1 plays the analog input
    ASSERT_TRUE(writeDeviceFile(file("device.dat"), sent));
    const auto written = run({"write-device", "--force"});
    ASSERT_EQ(written.exitCode, 0) << written.err;
    expectSameFields(sim.deviceOnce([&sent](const DeviceParameters& held) {
        return test::sameFields(held, sent, deviceWriteSteps());
    }),
                     sent, deviceWriteSteps());

    std::filesystem::remove(file("device.dat"));
    const auto read = run({"read-device"});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.out, "currentInput=1\ndigitalChannels=3\nanalogChannels=3\naesFrameStatus=1\n");
    DeviceParameters back;
    ASSERT_EQ(readDeviceFile(file("device.dat"), back), 296);
    expectSameFields(back, sent, deviceReadSteps());
}

TEST_P(CtlWithSim, ClockIsSetAndPrinted) {
    const auto written = run({"rtc-write", "--time", "2008-03-15 14:05:09", "--offset", "-1:30"});
    ASSERT_EQ(written.exitCode, 0) << written.err;
    const auto read = run({"rtc-read"});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.out.substr(0, 17), "2008-03-15 14:05:");
    EXPECT_EQ(read.out.substr(19), " -1:30\n");
}

TEST_P(CtlWithSim, LevelsArePrintedEveryRound) {
    const auto result = run({"levels", "--count", "2"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::vector<std::string> names;
    std::size_t at = 0;
    while (at < result.out.size()) {
        const std::size_t end = result.out.find('\n', at);
        names.push_back(result.out.substr(at, result.out.find('=', at) - at));
        at = end + 1;
    }
    const std::vector<std::string> round = {"levelSet0[1]", "levelSet0[2]", "levelSet1[1]",
                                            "levelSet1[2]", "levelSet1[3]", "levelSet1[4]",
                                            "levelSet1[5]", "levelSet1[6]"};
    EXPECT_EQ(names, with(round, round));
    EXPECT_TRUE(contains(result.out, "levelSet1[3]=6.7"));  // the pilot of preset 1
}

INSTANTIATE_TEST_SUITE_P(Links, CtlWithSim,
                         ::testing::Values(Transport{"Tcp", true, true},
                                           Transport{"SerialWithAck", false, true},
                                           Transport{"SerialWithoutAck", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CtlUsage, MistakesExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"read-preset"},
        {"read-preset", "9", "--out", "x.dat"},
        {"read-preset", "1"},
        {"write-preset", "1", "--in"},
        {"read-device", "--bogus", "x"},
        {"rtc-read", "now"},
        {"rtc-write"},
        {"rtc-write", "--pc", "--time", "2008-03-15 14:05:09"},
        {"rtc-write", "--pc", "--offset", "+1:00"},
        {"rtc-write", "--time", "2008-13-01 00:00:00"},
        {"rtc-write", "--time", "2008-02-30 00:00:00"},
        {"rtc-write", "--time", "1999-03-15 14:05:09"},
        {"rtc-write", "--time", "2008-03-15 14:05:09", "--offset", "+1:15"},
        {"rtc-write", "--time", "2008-03-15 14:05:09", "--offset", "+12:30"},
        {"levels", "--count", "0"},
        {"--speed", "6", "rtc-read"},
        {"--ack", "2", "rtc-read"},
        {"--tcp-port", "x", "rtc-read"},
        {"--tcp-port", "70000", "rtc-read"},
        {"--encoder", "Site", "rtc-read"},
        {"--port"},
        {"--port", "TCP/IP"},
    };
    for (const auto& args : cases) {
        const auto result = ctl(args);
        EXPECT_EQ(result.exitCode, 2) << args.front() << " " << args.back() << "\n" << result.err;
    }
}

TEST(CtlUsage, HelpNamesEveryCommandAndOption) {
    const auto help = ctl({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* word :
         {"read-preset N", "write-preset N", "read-device", "write-device", "rtc-read", "rtc-write",
          "levels [--count N]", "--port NAME", "--ip ADDRESS", "--tcp-port N", "--speed INDEX",
          "--ack 0|1", "--encoder SITE/ENC", "exit status"}) {
        EXPECT_TRUE(contains(help.out, word)) << word;
    }
}

// A refused connection is one failure with one message, in the user's language, and no
// time-out message after it.
TEST(CtlFailure, NoEncoderExitsWithOneAndTheOneMessage) {
    setenv("LC_ALL", "C", 1);
    const std::string port = std::to_string(test::closedLoopbackPort());
    for (const char* command : {"rtc-read", "levels"}) {
        const auto result =
            ctl({"--port", "TCP/IP", "--ip", "127.0.0.1", "--tcp-port", port, command});
        EXPECT_EQ(result.exitCode, 1) << command;
        EXPECT_EQ(result.err,
                  "q93ctl: No connection to '127.0.0.1/127.0.0.1' on port '" + port + "'!\n")
            << command;
        EXPECT_TRUE(result.out.empty());
    }
}

TEST(CtlFailure, MissingEncoderFolderAndBadFilesExitWithOne) {
    test::TempDir work;
    const auto missing = ctl({"--encoder", "Nowhere/None", "rtc-read"}, work.path().string());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "q93ctl: no encoder 'Nowhere/None' under ./LocationData/\n");

    test::writeFileBytes(work.file("short.dat"), std::string(10, '\0'));
    const auto preset = ctl({"write-preset", "1", "--in", work.file("short.dat")});
    EXPECT_EQ(preset.exitCode, 1);
    EXPECT_TRUE(contains(preset.err, "short.dat"));
    const auto device = ctl({"write-device", "--in", work.file("none.dat")});
    EXPECT_EQ(device.exitCode, 1);
}

TEST(CtlFailure, AFailedReadLeavesTheFileAsItWas) {
    setenv("LC_ALL", "C", 1);
    test::SimEncoder sim(Transport{"Tcp", true, true}, {"--fault", "drop-answer:3"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    test::TempDir work;
    const std::string path = work.file("Preset-1.dat");
    const std::string before(200, '\x11');
    test::writeFileBytes(path, before);
    const auto result = ctl(with(sim.connectionOptions(), {"read-preset", "1", "--out", path}));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.err, "Keine Antwort vom Gerät ( Timeout )!"));
    EXPECT_EQ(test::readFileBytes(path), before);
}

}  // namespace
}  // namespace q93
