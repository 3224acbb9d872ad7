#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "protocol/device_transfer.h"
#include "protocol/parameter_files.h"
#include "protocol/preset_transfer.h"
#include "store/location_store.h"
#include "tests/e2e/ctl_run.h"
#include "tests/protocol/transfer_fixture.h"
#include "tests/support/process_runner.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

namespace fs = std::filesystem;

test::ProcessResult ctlIn(const fs::path& directory, const std::vector<std::string>& args) {
    return test::runCtl(args, directory.string());
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

// Every file of a folder with its bytes.
std::map<std::string, std::string> folderBytes(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = test::readFileBytes(entry.path().string());
    return files;
}

template <typename Block, typename Steps>
void expectSameFields(const Block& got, const Block& want, Steps steps, const std::string& what) {
    int row = 0;
    for (const auto& step : steps) {
        ++row;
        if (step.real != nullptr) {
            EXPECT_EQ(got.*step.real, want.*step.real) << what << " step " << row;
        } else {
            EXPECT_EQ(got.*step.integer, want.*step.integer) << what << " step " << row;
        }
    }
}

// An encoder folder whose tcp.txt reaches a simulated encoder on loopback.
void addEncoder(const fs::path& work, const std::string& name, int port) {
    const auto added = ctlIn(work, {"add", name, "--port", "TCP/IP", "--ip", "127.0.0.1",
                                    "--tcp-port", std::to_string(port)});
    ASSERT_EQ(added.exitCode, 0) << added.err;
}

// Twenty encoders on four sites: seventeen answer (each with values of its own, the last
// with the factory values), two accept the connection and never answer, one gives a wrong
// answer to its 30th request (preset 1, row 14).
class Fleet : public ::testing::Test {
protected:
    static constexpr int kHealthy = 17;

    void SetUp() override {
        for (int k = 1; k < kHealthy; ++k) {
            const fs::path folder = healthyStore.path() / ("encoder" + std::to_string(k));
            fs::create_directories(folder);
            const DeviceParameters device = test::inRangeDevice(k);
            ASSERT_TRUE(writeDeviceFile(deviceFilePath(folder.string() + "/"), device));
            for (int n = 1; n <= kPresetsPerEncoder; ++n) {
                ASSERT_TRUE(
                    writePresetFile(presetFilePath(folder.string() + "/", n),
                                    test::inRangePreset(k * 10 + n, device.sensitivity40k)));
            }
        }
        healthy = std::make_unique<test::SimProcess>(std::vector<std::string>{
            "--encoders", std::to_string(kHealthy), "--store-root", healthyStore.path().string()});
        silent = std::make_unique<test::SimProcess>(
            std::vector<std::string>{"--encoders", "2", "--fault", "close:1"});
        wrong = std::make_unique<test::SimProcess>(
            std::vector<std::string>{"--encoders", "1", "--fault", "wrong-code:30"});
        for (const auto* sim : {healthy.get(), silent.get(), wrong.get()})
            ASSERT_TRUE(sim->ready()) << sim->error() << sim->stderrText();

        int next = 0;
        for (const char* site : {"Alpha", "Bravo", "Charlie", "Delta"}) {
            for (int e = 1; e <= 5; ++e) {
                const std::string name = std::string(site) + "/E" + std::to_string(e);
                if (name == "Bravo/E2" || name == "Delta/E1") {
                    addEncoder(work.path(), name, silent->port() + (name == "Delta/E1" ? 1 : 0));
                } else if (name == "Charlie/E3") {
                    addEncoder(work.path(), name, wrong->port());
                } else {
                    healthyNames.push_back(name);
                    addEncoder(work.path(), name, healthy->port() + next++);
                }
            }
        }
    }

    fs::path folder(const std::string& name) const { return work.path() / "LocationData" / name; }
    std::string simFolder(int k) const {
        return (healthyStore.path() / ("encoder" + std::to_string(k))).string() + "/";
    }

    test::TempDir work;
    test::TempDir healthyStore;
    std::unique_ptr<test::SimProcess> healthy, silent, wrong;
    std::vector<std::string> healthyNames;
};

TEST_F(Fleet, BackupReportsEachEncoderAndKeepsTheFailedOnesFiles) {
    // What the failing encoders held before, and a stored field no transfer carries.
    for (const char* name : {"Bravo/E2", "Delta/E1", "Charlie/E3"}) {
        ASSERT_TRUE(
            writeDeviceFile(deviceFilePath(folder(name).string() + "/"), test::distinctDevice(99)));
        ASSERT_TRUE(writePresetFile(presetFilePath(folder(name).string() + "/", 4),
                                    test::distinctPreset(98)));
    }
    PresetParameters kept = test::distinctPreset(0);
    kept.delayAnalogDigital = 77;
    ASSERT_TRUE(writePresetFile(presetFilePath(folder("Alpha/E1").string() + "/", 2), kept));
    std::map<std::string, std::map<std::string, std::string>> before;
    for (const char* name : {"Bravo/E2", "Delta/E1", "Charlie/E3"})
        before[name] = folderBytes(folder(name));

    const auto backup = ctlIn(work.path(), {"backup", "--jobs", "4"});
    EXPECT_EQ(backup.exitCode, 1) << backup.err;

    ASSERT_EQ(healthyNames.size(), static_cast<std::size_t>(kHealthy));
    std::vector<std::string> expected;
    for (const char* site : {"Alpha", "Bravo", "Charlie", "Delta"}) {
        for (int e = 1; e <= 5; ++e) {
            const std::string name = std::string(site) + "/E" + std::to_string(e);
            if (name == "Bravo/E2" || name == "Delta/E1") {
                expected.push_back(name +
                                   " FAILED step=\"read device, step 1 of 16 (sensitivity40k)\" "
                                   "message=\"Keine Antwort vom Gerät ( Timeout )!\"");
            } else if (name == "Charlie/E3") {
                expected.push_back(name +
                                   " FAILED step=\"read preset 1, step 14 of 28 (powerLimiterOn)\""
                                   " message=\"Falsche Antwort vom Gerät ( 3c anstatt 2d ).\"");
            } else {
                expected.push_back(name + " OK");
            }
        }
    }
    EXPECT_EQ(linesOf(backup.out), expected);

    for (const auto& [name, files] : before)
        EXPECT_EQ(folderBytes(folder(name)), files) << name;
    for (std::size_t k = 1; k <= healthyNames.size(); ++k) {
        const std::string stored = folder(healthyNames[k - 1]).string() + "/";
        DeviceParameters device, simDevice;
        ASSERT_EQ(readDeviceFile(deviceFilePath(stored), device), 296) << healthyNames[k - 1];
        readDeviceFile(deviceFilePath(simFolder(static_cast<int>(k))), simDevice);
        expectSameFields(device, simDevice, deviceReadSteps(), healthyNames[k - 1]);
        for (int n = 1; n <= kPresetsPerEncoder; ++n) {
            PresetParameters preset, simPreset;
            ASSERT_EQ(readPresetFile(presetFilePath(stored, n), preset), 200);
            readPresetFile(presetFilePath(simFolder(static_cast<int>(k)), n), simPreset);
            expectSameFields(preset, simPreset, presetReadSteps(), healthyNames[k - 1]);
            EXPECT_EQ(preset.presetNumber, n);
        }
        // Nine files and tcp.txt, nothing staged left behind.
        EXPECT_EQ(folderBytes(folder(healthyNames[k - 1])).size(), 10u);
    }
    PresetParameters back;
    readPresetFile(presetFilePath(folder("Alpha/E1").string() + "/", 2), back);
    EXPECT_EQ(back.delayAnalogDigital, 77);
}

TEST_F(Fleet, DiffShowsWhatChangedOnTheEncoderAndRestoreTakesItBack) {
    const std::string name = healthyNames.back();  // the factory values: kHz, 6 dBu at 40 kHz
    ASSERT_EQ(ctlIn(work.path(), {"backup", name}).exitCode, 0);
    EXPECT_EQ(ctlIn(work.path(), {"diff", name}).exitCode, 0);

    // Changed behind the tool's back, through the single-encoder commands.
    const std::string stored = folder(name).string() + "/";
    PresetParameters preset;
    readPresetFile(presetFilePath(stored, 3), preset);
    preset.inputLevel = 45.5;
    preset.modChkAnalogLevel = 4.0;
    DeviceParameters device;
    readDeviceFile(deviceFilePath(stored), device);
    device.levelUnit = 1;
    writePresetFile(work.file("changed-preset.dat"), preset);
    writeDeviceFile(work.file("changed-device.dat"), device);
    const std::string port = std::to_string(healthy->port() + kHealthy - 1);
    const std::vector<std::string> reach = {"--port",    "TCP/IP",     "--ip",
                                            "127.0.0.1", "--tcp-port", port};
    auto with = [&](std::vector<std::string> tail) {
        tail.insert(tail.begin(), reach.begin(), reach.end());
        return tail;
    };
    ASSERT_EQ(
        ctlIn(work.path(), with({"write-preset", "3", "--in", work.file("changed-preset.dat")}))
            .exitCode,
        0);
    ASSERT_EQ(ctlIn(work.path(), with({"write-device", "--in", work.file("changed-device.dat")}))
                  .exitCode,
              0);

    const auto diff = ctlIn(work.path(), {"diff", name});
    EXPECT_EQ(diff.exitCode, 3) << diff.err;
    EXPECT_EQ(diff.out,
              "device.dat levelUnit stored=0 encoder=1\n"
              "Preset-3.dat inputLevel stored=40.0 encoder=45.5 unit=kHz\n"
              "Preset-3.dat modChkAnalogLevel stored=-20.0 encoder=-14.0 unit=dBu\n");
    const auto presetOnly = ctlIn(work.path(), {"diff", name, "--presets", "1-3", "--json"});
    EXPECT_EQ(presetOnly.exitCode, 3);
    const auto json = nlohmann::json::parse(presetOnly.out, nullptr, false);
    ASSERT_TRUE(json.is_object()) << presetOnly.out;
    EXPECT_EQ(json["equal"], false);
    ASSERT_EQ(json["differences"].size(), 2u);
    EXPECT_EQ(json["differences"][1]["field"], "modChkAnalogLevel");

    const auto restore = ctlIn(work.path(), {"restore", name});
    EXPECT_EQ(restore.exitCode, 0) << restore.err;
    EXPECT_EQ(restore.out, name + " OK\n");
    const auto again = ctlIn(work.path(), {"diff", name});
    EXPECT_EQ(again.exitCode, 0) << again.out;
    EXPECT_EQ(again.out, "");
}

TEST_F(Fleet, ClockAndTheNamedEncodersFollowTheTree) {
    const auto clock = ctlIn(work.path(), {"clock", "Charlie/E1", "Bravo", "--pc", "--jobs", "3"});
    EXPECT_EQ(clock.exitCode, 1);
    const std::vector<std::string> lines = linesOf(clock.out);
    ASSERT_EQ(lines.size(), 6u) << clock.out;
    const std::vector<std::string> names = {"Bravo/E1", "Bravo/E2", "Bravo/E3",
                                            "Bravo/E4", "Bravo/E5", "Charlie/E1"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (names[i] == "Bravo/E2") {
            EXPECT_EQ(lines[i],
                      "Bravo/E2 FAILED step=\"set clock\" "
                      "message=\"Keine Antwort vom Gerät ( Timeout )!\"");
            continue;
        }
        // Set from the PC and read back within the same second or the next.
        const std::string head = names[i] + " OK difference=";
        ASSERT_EQ(lines[i].substr(0, head.size()), head);
        EXPECT_LE(std::abs(std::stoi(lines[i].substr(head.size()))), 1) << lines[i];
    }

    const auto unknown = ctlIn(work.path(), {"backup", "Alpha/E1", "Nowhere"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.err, "q93ctl: no encoder 'Nowhere' under ./LocationData/\n");
    EXPECT_EQ(ctlIn(work.path(), {"backup", "--jobs", "0"}).exitCode, 2);
    EXPECT_EQ(ctlIn(work.path(), {"clock"}).exitCode, 2);

    const auto backup =
        ctlIn(work.path(), {"backup", "Alpha/E2", "Alpha/E1", "Alpha/E1", "--json"});
    EXPECT_EQ(backup.exitCode, 0);
    const auto json = nlohmann::json::parse(backup.out, nullptr, false);
    EXPECT_EQ(json, nlohmann::json::parse(R"({"command": "backup", "encoders": [
        {"name": "Alpha/E1", "ok": true}, {"name": "Alpha/E2", "ok": true}], "failed": 0})"));
}

// Two encoder folders behind one serial port: opened at once, their frames would mix on the
// one line; the scheduler lets them take turns.
TEST(FleetSerial, EncodersOnOneSerialPortTakeTurns) {
    test::SimEncoder sim(test::Transport{"SerialWithAck", false, true});
    ASSERT_TRUE(sim.ready()) << sim.error();
    test::TempDir work;
    for (const char* name : {"Mast/North", "Mast/South"}) {
        ASSERT_EQ(ctlIn(work.path(),
                        {"add", name, "--port", test::kSimPortName, "--speed", "5", "--ack", "1"})
                      .exitCode,
                  0);
    }
    const auto backup = ctlIn(work.path(), {"backup", "--jobs", "2"});
    EXPECT_EQ(backup.exitCode, 0) << backup.out << backup.err;
    EXPECT_EQ(backup.out, "Mast/North OK\nMast/South OK\n");
    PresetParameters stored;
    readPresetFile((work.path() / "LocationData/Mast/South/Preset-8.dat").string(), stored);
    expectSameFields(stored, sim.preset(8), presetReadSteps(), "Mast/South");
}

TEST(FleetStore, AddWritesTcpTxtAsTheDesktopToolAndListShowsIt) {
    test::TempDir work;
    const auto add = ctlIn(work.path(), {"--port", "TCP/IP", "add", "Hilltop/Tower", "--ip",
                                         "127.0.0.1", "--tcp-port", "5000"});
    ASSERT_EQ(add.exitCode, 0) << add.err;
    const fs::path folder = work.path() / "LocationData" / "Hilltop" / "Tower";
    EXPECT_EQ(test::readFileBytes((folder / "tcp.txt").string()),
              "127.0.0.1\r\n5000\r\nTCP/IP\r\n3\r\n1\r\n");
    writePresetFile((folder / "Preset-2.dat").string(), PresetParameters{});
    fs::create_directories(work.path() / "LocationData" / "Empty");
    fs::create_directories(work.path() / "LocationData" / "Hilltop" / "Bare");

    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    const Case cases[] = {
        {{"add", "Hilltop/Tower"}, 1},
        {{"add", "Hilltop/Tower", "--force"}, 0},
        {{"add", "Hilltop"}, 2},
        {{"add", "../Tower"}, 2},
        {{"add", "Hilltop/.."}, 2},
        {{"add", "/Tower"}, 2},
        {{"add", "Hilltop/"}, 2},
        {{"add", "Hilltop/a/b"}, 2},
        {{"add", "Hilltop/New", "--speed", "9"}, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ctlIn(work.path(), c.args).exitCode, c.exitCode) << c.args[1];
    }
    EXPECT_FALSE(fs::exists(work.path() / "Tower"));
    // --force wrote the defaults of a fresh connection, keeping the preset file.
    EXPECT_EQ(test::readFileBytes((folder / "tcp.txt").string()), "\r\n\r\nCOM2\r\n3\r\n1\r\n");

    const auto list = ctlIn(work.path(), {"list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out,
              "Empty/ encoders=0\n"
              "Hilltop/Bare folder=./LocationData/Hilltop/Bare/ label=Bare tcp.txt=missing "
              "device.dat=no presets=\"\"\n"
              "Hilltop/Tower folder=./LocationData/Hilltop/Tower/ label=\"Tower - COM2\" "
              "ipAddress=\"\" tcpPort=\"\" portName=COM2 speedIndex=3 readAck=1 device.dat=no "
              "presets=2\n");
    const auto json = nlohmann::json::parse(ctlIn(work.path(), {"list", "--json"}).out);
    EXPECT_EQ(json["sites"][1]["encoders"][1]["connection"]["portName"], "COM2");
    EXPECT_EQ(json["sites"][1]["encoders"][0]["connection"], nullptr);
    EXPECT_EQ(json["sites"][1]["encoders"][1]["presets"], nlohmann::json::array({2}));
}

}  // namespace
}  // namespace q93
