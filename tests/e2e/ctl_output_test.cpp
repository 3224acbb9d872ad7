#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/parameter_files.h"
#include "tests/protocol/transfer_fixture.h"
#include "tests/support/mapped_line.h"
#include "tests/support/process_runner.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

// q93ctl with its standard output on /dev/full, where every write fails for want of space.
test::ProcessResult ctlIntoFullDisk(const std::vector<std::string>& args) {
    std::string command = "exec '" + test::binPath("q93ctl") + "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    return test::runProgram({"/bin/sh", "-c", command + " > /dev/full"});
}

std::vector<std::string> with(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST(CtlOutput, AnOutputThatCannotBeWrittenFailsTheRun) {
    test::TempDir dir;
    ASSERT_TRUE(writePresetFile(dir.file("Preset-3.dat"), PresetParameters{}));
    test::SimEncoder sim({"tcp", true, true});
    ASSERT_TRUE(sim.ready()) << sim.error();
    const std::vector<std::string> encoder = sim.connectionOptions();
    const std::vector<std::vector<std::string>> runs = {
        {"frame", "2d,03,4d,49,20"},
        {"show", dir.file("Preset-3.dat")},
        with(encoder, {"read-device", "--out", dir.file("device.dat")}),
        with(encoder, {"rtc-read"}),
        with(encoder, {"levels"}),
    };
    // A command that flushed on its way has lost the reason by the end; the line says so
    // all the same.
    const std::string message = "q93ctl: cannot write the output: ";
    for (const auto& args : runs) {
        SCOPED_TRACE(args.at(encoder.size() < args.size() ? encoder.size() : 0));
        const test::ProcessResult result = ctlIntoFullDisk(args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err.rfind(message, 0), 0u) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
}

TEST(CtlOutput, XonXoffHandshakeIsWarnedOfOnceWhenThePortOpens) {
    const std::string warning =
        "q93ctl: warning: Handshake=Xon/Xoff mangles frames that contain 0x11 or 0x13; use "
        "RTS/CTS or none\n";
    struct Case {
        const char* handshake;
        bool warned;
    };
    for (const Case row : {Case{"Xon/Xoff", true}, Case{"none", false}, Case{"xon/xoff", false}}) {
        SCOPED_TRACE(row.handshake);
        test::MappedLine line;
        line.writeIni(std::string("Handshake=") + row.handshake + "\n");
        // Nothing answers on the line: the read fails, after the port has opened.
        const test::ProcessResult result =
            test::runProgram({test::binPath("q93ctl"), "--port", line.portName(), "rtc-read"});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err.rfind(warning, 0) == 0, row.warned) << result.err;
        EXPECT_EQ(result.err.find(warning, 1), std::string::npos) << result.err;
    }
}

}  // namespace
}  // namespace q93
