#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

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

std::map<std::string, std::string> folderBytes(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = test::readFileBytes(entry.path().string());
    return files;
}

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator());
    return bytes;
}

template <std::size_t N>
std::string asText(const std::array<std::uint8_t, N>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), N};
}

// An encoder folder Site/Tower whose nine stored files are in range and whose tcp.txt reaches
// a simulated encoder that names every request and connection on stderr.
class DoubtfulFiles : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("LC_ALL", "C", 1);
        ASSERT_TRUE(sim.ready()) << sim.error();
        const auto reach = sim.connectionOptions();
        ASSERT_EQ(ctl({"add", "Site/Tower", reach[2], reach[3], reach[4], reach[5]}).exitCode, 0);
        folder = work.path() / "LocationData" / "Site" / "Tower";
        const DeviceParameters device = test::inRangeDevice(3);
        good["device.dat"] = asText(encodeDevice(device));
        for (int n = 1; n <= kPresetsPerEncoder; ++n) {
            good["Preset-" + std::to_string(n) + ".dat"] =
                asText(encodePreset(test::inRangePreset(n, device.sensitivity40k)));
        }
        for (const auto& [name, bytes] : good)
            test::writeFileBytes(file(name), bytes);
        simBefore = folderBytes(sim.storeDir());
    }

    test::ProcessResult ctl(const std::vector<std::string>& args) {
        return test::runCtl(args, work.path().string());
    }
    std::string file(const std::string& name) const { return (folder / name).string(); }
    std::string shownPath(const std::string& name) const {
        return "'./LocationData/Site/Tower/" + name + "'";
    }

    test::SimEncoder sim{test::Transport{"Tcp", true, true}, {"--verbose"}};
    test::TempDir work;
    fs::path folder;
    std::map<std::string, std::string> good;
    std::map<std::string, std::string> simBefore;
};

TEST_F(DoubtfulFiles, NothingIsSentFromAFileOfTheWrongSizeOrWithValuesNoPageGives) {
    const std::string device = good["device.dat"];
    struct Case {
        const char* file;
        std::string bytes;
        std::vector<std::string> args;
        std::string message;
    };
    const std::string wrongSize = " holds 297 bytes; a device file holds exactly 296 bytes";
    const Case cases[] = {
        {"device.dat",
         device + '\0',
         {"restore", "Site/Tower"},
         shownPath("device.dat") + wrongSize},
        {"device.dat", device + "\n", {"--encoder", "Site/Tower", "write-device"}, wrongSize},
        {"device.dat", device + "\n", {"diff", "Site/Tower"}, shownPath("device.dat") + wrongSize},
        {"device.dat", device + "\n", {"show", "LocationData/Site/Tower/device.dat"}, "297 bytes"},
        {"Preset-3.dat",
         std::string(10 << 20, '\0'),
         {"restore", "Site/Tower", "--presets", "2-4"},
         shownPath("Preset-3.dat") +
             " holds 10485760 bytes; a preset file holds exactly 200 bytes"},
        {"device.dat",
         randomBytes(296, 21),
         {"restore", "Site/Tower"},
         "q93ctl: Site/Tower: values no page of the tool gives; nothing was sent:\n"
         "  device.dat:sensitivity40k="},
        {"Preset-2.dat",
         randomBytes(200, 22),
         {"--encoder", "Site/Tower", "write-preset", "2"},
         "Preset-2.dat': values no page of the tool gives; nothing was sent:\n"
         "  inputSource="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front() + " " + c.file);
        test::writeFileBytes(file(c.file), c.bytes);
        const auto result = ctl(c.args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(contains(result.err, c.message)) << result.err;
        EXPECT_EQ(result.out, "");
        test::writeFileBytes(file(c.file), good[c.file]);
    }
    // Not even a connection was made, and the encoder holds what it held.
    EXPECT_FALSE(contains(sim.log(), "connected")) << sim.log();
    EXPECT_EQ(folderBytes(sim.storeDir()), simBefore);

    // Asked for, the random values go out as the wire carries them: the low byte of each int.
    // The read back then shows that the encoder does not hold what the file says, and the
    // restore says so rather than report success.
    const std::string random = randomBytes(296, 21);
    test::writeFileBytes(file("device.dat"), random);
    DeviceParameters sent;
    decodeDevice(reinterpret_cast<const std::uint8_t*>(random.data()), random.size(), sent);
    const auto forced = ctl({"restore", "Site/Tower", "--device", "--force"});
    EXPECT_EQ(forced.exitCode, 1) << forced.err;
    EXPECT_TRUE(contains(forced.err, "sent as --force asks:\n  device.dat:sensitivity40k="));
    EXPECT_TRUE(contains(forced.out, "the encoder does not hold what was sent: ")) << forced.out;
    EXPECT_EQ(sim.device().frontBaud, sent.frontBaud & 0xFF);
    EXPECT_EQ(sim.device().dte3Baud, sent.dte3Baud & 0xFF);
}

// A hand-edited tcp.txt whose last line has no break within the 19 characters the store
// reads at once reads as the same five values, yet did not come from the tool: list and check
// name it, and no transfer, single or of the fleet, connects with it.
TEST_F(DoubtfulFiles, NothingIsSentWithATcpTxtWhoseLineDoesNotFit) {
    std::string settings = test::readFileBytes(file("tcp.txt"));
    const std::size_t lastLine = settings.rfind('\n', settings.size() - 2) + 1;
    settings.insert(lastLine, std::string(18, '0'));
    test::writeFileBytes(file("tcp.txt"), settings);
    const std::string reason = "line 5 longer than 18 characters";

    const auto list = ctl({"list"});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_TRUE(contains(list.out, " tcp.txt=\"doubtful: " + reason + "\" ")) << list.out;
    const auto check = ctl({"check", "Site/Tower"});
    EXPECT_EQ(check.exitCode, 3);
    EXPECT_TRUE(contains(check.out,
                         "./LocationData/Site/Tower/tcp.txt doubtful reason=\"" + reason + "\"\n"))
        << check.out;

    const std::string refusal = shownPath("tcp.txt") + " is doubtful: " + reason;
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--encoder", "Site/Tower", "read-device"},
                                               {"--encoder", "Site/Tower", "write-device"},
                                               {"restore", "Site/Tower"},
                                               {"backup"}}) {
        SCOPED_TRACE(args.front() + " " + args.back());
        const auto result = ctl(args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(contains(result.err + result.out, refusal)) << result.err << result.out;
    }
    EXPECT_FALSE(contains(sim.log(), "connected")) << sim.log();
    EXPECT_EQ(folderBytes(sim.storeDir()), simBefore);
    for (const auto& [name, bytes] : good)
        EXPECT_EQ(test::readFileBytes(file(name)), bytes) << name;
}

TEST_F(DoubtfulFiles, BackupKeepsWhatTheEncoderHoldsAndNamesWhatIsOutOfRange) {
    PresetParameters wide = test::inRangePreset(5, test::inRangeDevice(3).sensitivity40k);
    wide.maxDeviation = 150;  // typed on the limiter page, whose hint is not enforced
    wide.testTone = 0;        // an empty parameter set
    test::writeFileBytes(work.file("wide.dat"), asText(encodePreset(wide)));
    const auto sent = ctl(
        {"--encoder", "Site/Tower", "write-preset", "2", "--in", work.file("wide.dat"), "--force"});
    ASSERT_EQ(sent.exitCode, 0) << sent.err;

    const auto backup = ctl({"backup"});
    EXPECT_EQ(backup.exitCode, 0) << backup.err;
    EXPECT_EQ(
        backup.out,
        "Site/Tower OK outOfRange=\"Preset-2.dat:maxDeviation=150 Preset-2.dat:testTone=0\"\n");
    PresetParameters stored;
    ASSERT_EQ(readPresetFile(file("Preset-2.dat"), stored), 200);
    EXPECT_EQ(stored.maxDeviation, 150);

    const auto check = ctl({"check", "Site"});
    EXPECT_EQ(check.exitCode, 3);
    EXPECT_TRUE(contains(check.out, "./LocationData/Site/Tower/device.dat ok\n"));
    EXPECT_TRUE(contains(check.out,
                         "./LocationData/Site/Tower/Preset-2.dat out-of-range maxDeviation=150 "
                         "range=\"20 to 100 kHz\"\n"
                         "./LocationData/Site/Tower/Preset-2.dat out-of-range testTone=0 "
                         "range=\"list index plus 1 1 to 6\"\n"));
    EXPECT_TRUE(contains(check.out, "./LocationData/Site/Tower/Preset-8.dat ok\n"));
    // The stored files of the other presets and the device are all in range.
    EXPECT_EQ(ctl({"check", file("Preset-1.dat"), file("device.dat")}).exitCode, 0);
    test::writeFileBytes(work.file("odd.dat"), std::string(201, '\0'));
    const auto unreadable = ctl({"check", "Site/Tower", work.file("odd.dat")});
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_TRUE(contains(unreadable.err, "odd.dat' holds 201 bytes")) << unreadable.err;
}

}  // namespace
}  // namespace q93
