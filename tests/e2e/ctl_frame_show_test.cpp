#include <gtest/gtest.h>

#include "protocol/parameter_files.h"
#include "tests/support/process_runner.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

test::ProcessResult ctl(const std::vector<std::string>& args) {
    std::vector<std::string> argv{test::binPath("q93ctl")};
    argv.insert(argv.end(), args.begin(), args.end());
    return test::runProgram(argv);
}

TEST(CtlFrame, PrintsTheWireFrame) {
    const auto result = ctl({"frame", "2d,03,4d,49,20"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "FE 00 00 00 05 2D 03 4D 49 20 DA 54 FF\n");
}

TEST(CtlFrame, SequenceByteIsStuffed) {
    const auto result = ctl({"frame", "--seq", "255", "2d,03,4d,49,20"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.substr(0, 14), "FE 00 00 FD 02");
}

TEST(CtlFrame, UsageErrorsExitWithTwo) {
    EXPECT_EQ(ctl({}).exitCode, 2);
    EXPECT_EQ(ctl({"frame"}).exitCode, 2);
    EXPECT_EQ(ctl({"frame", "--seq", "256", "01"}).exitCode, 2);
    EXPECT_EQ(ctl({"frame", "--seq", "x", "01"}).exitCode, 2);
    EXPECT_EQ(ctl({"bogus"}).exitCode, 2);
    const auto help = ctl({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("show FILE"), std::string::npos);
}

TEST(CtlShow, PrintsPresetFieldsByName) {
    test::TempDir dir;
    PresetParameters preset;
    preset.scaMode = 3;
    preset.mpxGain = -1.5;
    ASSERT_TRUE(writePresetFile(dir.file("Preset-2.dat"), preset));
    const auto result = ctl({"show", dir.file("Preset-2.dat")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("scaMode=3\n"), std::string::npos);
    EXPECT_NE(result.out.find("mpxGain=-1.5\n"), std::string::npos);
    EXPECT_EQ(result.out.rfind("inputSource=0\n", 0), 0u);
}

TEST(CtlShow, PrintsDeviceFields) {
    test::TempDir dir;
    DeviceParameters device;
    device.sensitivity40k = -3.5;
    ASSERT_TRUE(writeDeviceFile(dir.file("device.dat"), device));
    const auto result = ctl({"show", dir.file("device.dat")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("sensitivity40k=-3.5\n"), std::string::npos);
    EXPECT_NE(result.out.find("correctionValues[20]=0\n"), std::string::npos);
}

TEST(CtlShow, RefusesFilesOfOtherSizesAndMissingFiles) {
    test::TempDir dir;
    test::writeFileBytes(dir.file("odd.dat"), std::string(201, '\0'));
    const auto odd = ctl({"show", dir.file("odd.dat")});
    EXPECT_EQ(odd.exitCode, 1);
    EXPECT_NE(odd.err.find("201 bytes"), std::string::npos);
    EXPECT_EQ(ctl({"show", dir.file("missing.dat")}).exitCode, 1);
    EXPECT_EQ(ctl({"show"}).exitCode, 2);
}

}  // namespace
}  // namespace q93
