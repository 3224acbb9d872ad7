#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "link/serial_link.h"
#include "tests/link/tcp_loopback_server.h"
#include "tests/support/mapped_line.h"
#include "tests/support/process_runner.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

using Clock = std::chrono::steady_clock;

test::ProcessResult ctl(const std::vector<std::string>& args, const std::string& directory = "",
                        int timeoutSeconds = 30) {
    std::vector<std::string> argv{test::binPath("q93ctl")};
    argv.insert(argv.end(), args.begin(), args.end());
    return test::runProgram(argv, timeoutSeconds, directory);
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The far end sends one byte a second, never a start byte, until the object goes.
class TricklingLine {
public:
    explicit TricklingLine(test::PseudoTerminal& far)
        : thread_([this, &far] {
              while (!stop_) {
                  far.send("A");
                  for (int slice = 0; slice < 20 && !stop_; ++slice)
                      std::this_thread::sleep_for(std::chrono::milliseconds(50));
              }
          }) {}
    ~TricklingLine() {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Each byte used to restart the idle count, so a receive could last as long as 765 bytes
// take to trickle in: thirteen minutes here. The total bound ends it as a time-out.
TEST(CtlSerial, ATricklingLineEndsRtcReadWithinTheBound) {
    setenv("LC_ALL", "C", 1);
    test::MappedLine line(5);
    const auto bound = serialReceiveBound(5000, 38400, 8, 'N', 1);
    TricklingLine trickle(line.far());
    const auto start = Clock::now();
    const auto result = ctl({"--port", "COM5", "--speed", "5", "--ack", "1", "rtc-read"}, "", 20);
    const auto took = Clock::now() - start;
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "q93ctl: Keine Antwort vom Gerät ( Timeout )!\n");
    EXPECT_GE(took, bound);
    EXPECT_LT(took, bound + std::chrono::seconds(2));
}

// After the design's message, the cause: the device with the system's reason and the fix,
// or each refused setting with what the port takes, always with the INI file's path.
TEST(CtlOpenFailure, TheCauseFollowsTheMessage) {
    setenv("LC_ALL", "C", 1);
    test::MappedLine line(5);
    test::TempDir files;
    const std::string plain = files.file("plain-file");
    test::writeFileBytes(plain, "not a tty\n");
    const std::string missing = files.file("usb-adapter-unplugged");
    const std::string ini = line.iniPath();
    struct Row {
        const char* port;
        std::string settings;
        std::vector<std::string> causes;
    };
    const Row rows[] = {
        {"COM5",
         "DataBits=9\n",
         {"'COM5': DataBits=9 in [Settings] of " + ini + " is refused: the port takes 4 to 8"}},
        {"COM5",
         "DataBits=x\nStopBits=3\n",
         {"'COM5': DataBits=x in [Settings] of " + ini + " is refused: the port takes 4 to 8",
          "'COM5': StopBits=3 in [Settings] of " + ini + " is refused: the port takes 1 or 2"}},
        {"COM6",
         "",
         {"'COM6' opens " + plain + " (COM6 in [Ports] of " + ini +
          "): Inappropriate ioctl for device, not a terminal, so no serial device; fix: map the "
          "port to a serial device: q93ctl map-port COMn DEVICE"}},
        {"COM9",
         "",
         {"'COM9' opens " + missing + " (COM9 in [Ports] of " + ini +
          "): No such file or directory, no such device; fix: plug the adapter in, or map the "
          "port to a device that exists: q93ctl map-port COMn DEVICE"}},
        {"com5",
         "",
         {"'com5' names no serial port: give COM1 to COM66, or TCP/IP (so written) for the "
          "network"}},
    };
    for (const Row& row : rows) {
        line.writeIni(row.settings, "COM6=" + plain + "\nCOM9=" + missing + "\n");
        std::string expected = "q93ctl: Can't open '" + std::string(row.port) + "'!\n";
        for (const std::string& cause : row.causes)
            expected += "q93ctl: " + cause + "\n";
        for (const char* command : {"rtc-read", "levels"}) {
            const auto result = ctl({"--port", row.port, command});
            EXPECT_EQ(result.exitCode, 1) << row.port << " " << command;
            EXPECT_EQ(result.err, expected) << command;
        }
    }
}

// In the fleet's report the step is the opening and the message carries the cause; a
// refused connection is its one message, not a time-out at the first step.
TEST(CtlOpenFailure, BackupReportsTheOpenAndItsCause) {
    setenv("LC_ALL", "C", 1);
    test::MappedLine line(5);
    test::TempDir work;
    const std::string plain = work.file("plain-file");
    test::writeFileBytes(plain, "");
    line.writeIni("", "COM6=" + plain + "\n");
    const std::string closed = std::to_string(test::closedLoopbackPort());
    const auto addEncoder = [&](const std::string& name, const std::string& tcpText) {
        const auto folder = work.path() / "LocationData" / "Site" / name;
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "tcp.txt") << tcpText;
    };
    addEncoder("Network", "127.0.0.1\n" + closed + "\nTCP/IP\n3\n1\n");
    addEncoder("Serial", "\n\nCOM6\n5\n1\n");

    const auto backup = ctl({"backup"}, work.path().string());
    EXPECT_EQ(backup.exitCode, 1) << backup.err;
    const std::string network = backup.out.substr(0, backup.out.find('\n'));
    const std::string serial = backup.out.substr(backup.out.find('\n') + 1);
    EXPECT_TRUE(contains(network, "Site/Network FAILED step=\"read device, opening the link\""))
        << network;
    EXPECT_TRUE(contains(network, "No connection to") && contains(network, closed)) << network;
    EXPECT_FALSE(contains(network, "Timeout")) << network;
    EXPECT_TRUE(contains(serial, "Site/Serial FAILED step=\"read device, opening the link\""))
        << serial;
    EXPECT_TRUE(contains(serial, "COM6") && contains(serial, " opens " + plain)) << serial;
    EXPECT_TRUE(contains(serial, "not a terminal, so no serial device")) << serial;
}

}  // namespace
}  // namespace q93
