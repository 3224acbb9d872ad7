#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "base/ini_file.h"
#include "base/ini_writer.h"
#include "cli/open_verdict.h"
#include "cli/serial_ports.h"
#include "tests/e2e/ctl_run.h"
#include "tests/support/config_home.h"
#include "tests/support/mapped_line.h"

namespace q93 {
namespace {

test::ProcessResult ctl(const std::vector<std::string>& args) {
    return test::runCtl(args);
}

// The line `ports` prints for a device.
std::string lineFor(const std::string& out, const std::string& device) {
    const std::size_t at = out.find(device + " ");
    return at == std::string::npos ? "" : out.substr(at, out.find('\n', at) - at);
}

TEST(Ports, APseudoTerminalMappedAsCom5IsListedWithItsMappingAndHolder) {
    test::MappedLine line(5);
    const auto ports = ctl({"ports"});
    ASSERT_EQ(ports.exitCode, 0) << ports.err;
    // This test holds the line open itself, and /proc says so.
    const std::string command = std::string(program_invocation_short_name).substr(0, 15);
    EXPECT_EQ(lineFor(ports.out, line.far().slaveName()),
              line.far().slaveName() + " com=COM5 open=yes heldBy=" + std::to_string(getpid()) +
                  "(" + command + ")");

    const auto json = nlohmann::json::parse(ctl({"ports", "--json"}).out, nullptr, false);
    ASSERT_TRUE(json.is_object());
    EXPECT_EQ(json["iniFile"], line.iniPath());
    bool found = false;
    for (const auto& port : json["ports"]) {
        if (port["device"] != line.far().slaveName())
            continue;
        found = true;
        EXPECT_EQ(port["comPorts"], nlohmann::json::array({"COM5"}));
        EXPECT_EQ(port["canOpen"], true);
        EXPECT_EQ(port["heldBy"][0]["pid"], getpid());
    }
    EXPECT_TRUE(found) << ports.out;
}

TEST(Ports, ADeviceThisUserCannotOpenShowsTheReason) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "running as root, which opens a file of mode 000 all the same; "
                        "OpenVerdict.EachRefusalHasItsReasonAndFix checks the text";
    }
    test::ConfigHome config;
    const std::string locked = (config.path() / "locked-tty").string();
    test::writeFileBytes(locked, "");
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);
    config.writeIni("[Ports]\nCOM7=" + locked + "\n");
    const auto ports = ctl({"ports"});
    EXPECT_NE(lineFor(ports.out, locked)
                  .find(" com=COM7 open=no reason=\"mode 0000 does not let "
                        "this user read and write it"),
              std::string::npos)
        << ports.out;
}

// A device that opens is still no port to the link when [Settings] holds a value every port
// refuses, or when the mapping names a file that is no terminal.
TEST(Ports, ARefusedSettingOrAFileMappingIsNoOpenPort) {
    test::MappedLine line(5);
    test::TempDir files;
    const std::string plain = files.file("plain-file");
    test::writeFileBytes(plain, "");
    line.writeIni("DataBits=9\nParity=Even\n", "COM6=" + plain + "\n");
    const std::string ini = line.iniPath();

    const auto ports = ctl({"ports"});
    ASSERT_EQ(ports.exitCode, 0) << ports.err;
    EXPECT_EQ(ports.err, "q93ctl: warning: DataBits=9 in [Settings] of " + ini +
                             " is refused: the port takes 4 to 8\n"
                             "q93ctl: warning: Parity=Even in [Settings] of " +
                             ini + " is read as none: write none, even or odd\n");
    EXPECT_NE(lineFor(ports.out, line.far().slaveName())
                  .find(" com=COM5 open=no reason=\"DataBits=9 in [Settings]\" fix=\"edit "
                        "[Settings] of " +
                        ini + ": DataBits takes 4 to 8\""),
              std::string::npos)
        << ports.out;
    EXPECT_EQ(lineFor(ports.out, plain),
              plain +
                  " com=COM6 open=no reason=\"not a terminal, so no serial device\" "
                  "fix=\"map the port to a serial device: q93ctl map-port COMn DEVICE\"");

    const auto json = nlohmann::json::parse(ctl({"ports", "--json"}).out, nullptr, false);
    ASSERT_TRUE(json.is_object());
    EXPECT_EQ(json["settings"],
              nlohmann::json::parse(R"([{"key": "DataBits", "value": "9", "allowed": "4 to 8",
                                         "refused": true},
                                        {"key": "Parity", "value": "Even",
                                         "allowed": "none, even or odd", "refused": false}])"));
}

TEST(OpenVerdict, EachRefusalHasItsReasonAndFix) {
    ctl::AccessFacts facts;
    facts.path = "/dev/ttyUSB0";
    facts.mode = S_IFCHR | 0660;
    facts.owner = 0;
    facts.group = 20;
    facts.groupName = "dialout";
    facts.uid = 1000;
    facts.userName = "anna";
    ctl::AccessFacts inGroupNextTime = facts;
    inGroupNextTime.memberGroups = {20};
    ctl::AccessFacts locked = facts;
    locked.mode = S_IFCHR;
    locked.sessionGroups = locked.memberGroups = {20};
    ctl::AccessFacts held = facts;
    held.holders = {{4321, "minicom"}, {99, "screen"}};

    struct Case {
        int error;
        const ctl::AccessFacts& facts;
        const char* reason;
        const char* fix;
    };
    const Case cases[] = {
        {EACCES, facts, "not in group \"dialout\"",
         "sudo usermod -aG dialout anna, then log in again"},
        {EACCES, inGroupNextTime, "in group \"dialout\" only from the next log-in",
         "log in again (or start a shell with: newgrp dialout)"},
        {EACCES, locked,
         "mode 0000 does not let this user read and write it (owner 0, group \"dialout\")",
         "sudo chmod 0660 /dev/ttyUSB0 (for good: a udev rule with MODE=\"0660\")"},
        {EBUSY, held, "held by another process: 4321 (minicom), 99 (screen)",
         "end that program or wait until it lets the port go"},
        {EBUSY, facts, "held by another process (none that /proc shows this user)",
         "find it with: sudo fuser -v /dev/ttyUSB0"},
        {ENOENT, facts, "no such device",
         "plug the adapter in, or map the port to a device that exists: q93ctl map-port COMn "
         "DEVICE"},
        {EIO, facts, "no hardware answers at this port",
         "use the port the adapter is on (q93ctl ports lists them)"},
    };
    for (const Case& c : cases) {
        const ctl::OpenVerdict verdict = ctl::explainOpenFailure(c.error, c.facts);
        EXPECT_FALSE(verdict.canOpen);
        EXPECT_EQ(verdict.reason, c.reason);
        EXPECT_EQ(verdict.fix, c.fix);
    }
}

TEST(MapPort, OnlyTheMappingChangesAndTheStableNameIsPreferred) {
    test::MappedLine line(5);
    test::TempDir byId;
    const std::string stable = (byId.path() / "usb-FTDI_FT232R_A9X3-if00-port0").string();
    std::filesystem::create_symlink(line.far().slaveName(), stable);
    EXPECT_EQ(ctl::preferStableName(line.far().slaveName(), byId.path().string()), stable);
    EXPECT_EQ(ctl::preferStableName("/dev/ttyS0", byId.path().string()), "/dev/ttyS0");

    const std::string before =
        "; Q93Config\r\n[Settings]\r\nDataBits=7 ; seven\r\n\r\n[ports]\r\n"
        "  com5 = /dev/ttyS9\r\nCOM6=/dev/ttyUSB1\r\n\r\n[Other]\r\nCOM5=kept\r\n";
    test::writeFileBytes(line.iniPath(), before);
    const auto mapped = ctl({"map-port", "COM5", line.far().slaveName()});
    ASSERT_EQ(mapped.exitCode, 0) << mapped.err;
    EXPECT_EQ(mapped.out, "COM5=" + line.far().slaveName() + "\n");
    std::string after = before;
    after.replace(after.find("  com5 = /dev/ttyS9"), 19, "COM5=" + line.far().slaveName());
    EXPECT_EQ(test::readFileBytes(line.iniPath()), after);
    EXPECT_EQ(ctl({"map-port", "COM67", "/dev/ttyS0"}).exitCode, 2);
    EXPECT_EQ(ctl({"map-port", "COM05", "/dev/ttyS0"}).exitCode, 2);
}

// A control character would let a device text write lines of its own into the INI file,
// and a path that exists but is no character device can never be a serial port. A path
// that does not exist yet is an unplugged adapter's name: written, with a warning.
TEST(MapPort, RefusesWhatCannotBeAPortAndWarnsOfWhatIsNotThere) {
    test::MappedLine line(5);
    test::TempDir files;
    const std::string plain = files.file("plain-file");
    test::writeFileBytes(plain, "");
    const std::string before = test::readFileBytes(line.iniPath());
    struct Row {
        std::string device;
        const char* refusal;
    };
    const Row refused[] = {
        {"/dev/ttyUSB0\n[Settings]\nDataBits=9", "holds a control character"},
        {"/dev/ttyUSB0\r", "holds a control character"},
        {std::string("/dev/tty\x1b[2J"), "holds a control character"},
        {plain, "' is a regular file, not a character device"},
        {files.path().string(), "' is a folder, not a character device"},
    };
    for (const Row& row : refused) {
        const auto mapped = ctl({"map-port", "COM6", row.device});
        EXPECT_EQ(mapped.exitCode, 2) << row.device;
        EXPECT_NE(mapped.err.find(row.refusal), std::string::npos) << mapped.err;
        EXPECT_EQ(test::readFileBytes(line.iniPath()), before) << row.device;
    }

    const std::string unplugged = files.file("usb-FTDI_FT232R_A9X3-if00-port0");
    const auto later = ctl({"map-port", "COM6", unplugged});
    EXPECT_EQ(later.exitCode, 0) << later.err;
    EXPECT_EQ(later.err, "q93ctl: warning: '" + unplugged +
                             "' does not exist now (No such file or directory); mapped all the "
                             "same\n");
    EXPECT_EQ(readProfileString(line.iniPath(), "Ports", "COM6", ""), unplugged);
    const auto device = ctl({"map-port", "COM7", "/dev/null"});
    EXPECT_EQ(device.exitCode, 0) << device.err;
    EXPECT_EQ(readProfileString(line.iniPath(), "Ports", "COM7", ""), "/dev/null");

    std::string error;
    EXPECT_FALSE(writeProfileString(line.iniPath(), "Ports", "COM8", "a\nCOM9=b", &error));
    EXPECT_EQ(readProfileString(line.iniPath(), "Ports", "COM9", "none"), "none");
}

TEST(IniWriter, KeepsEveryOtherByte) {
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        // a missing file, a file without the section, one without a last line end
        {"", "[Ports]\nCOM3=/dev/x\n"},
        {"[Settings]\r\nParity=even", "[Settings]\r\nParity=even\r\n[Ports]\r\nCOM3=/dev/x\r\n"},
        // the key goes after the section's last line, before the blank ones
        {"[PORTS]\nCOM1=/dev/a\n; note\n\n[X]\n",
         "[PORTS]\nCOM1=/dev/a\n; note\nCOM3=/dev/x\n\n[X]\n"},
        {"[Ports]", "[Ports]\nCOM3=/dev/x"},
        // the line the reader takes is the one replaced, a commented one is not
        {"[Ports]\n;COM3=old\nCOM3 = old\nCOM3=older\n",
         "[Ports]\n;COM3=old\nCOM3=/dev/x\nCOM3=older\n"},
        {"[Ports]\n[Other]\n[Ports]\ncom3=old\n", "[Ports]\n[Other]\n[Ports]\nCOM3=/dev/x\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(withProfileString(c.before, "Ports", "COM3", "/dev/x"), c.after) << c.before;
}

}  // namespace
}  // namespace q93
