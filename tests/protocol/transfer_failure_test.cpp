#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "base/string_table.h"
#include "protocol/clock_transfer.h"
#include "protocol/device_transfer.h"
#include "protocol/level_query.h"
#include "protocol/preset_transfer.h"
#include "tests/link/tcp_loopback_server.h"
#include "tests/protocol/transfer_fixture.h"
#include "tests/support/config_home.h"
#include "tests/support/pseudo_terminal.h"

namespace q93 {
namespace {

using Clock = std::chrono::steady_clock;
using Messages = std::vector<std::string>;

const std::string kNoAnswer = "Keine Antwort vom Gerät ( Timeout )!";
constexpr test::Transport kTcp{"Tcp", true, true};
constexpr test::Transport kSerialWithAck{"SerialWithAck", false, true};

class TransferFailure : public ::testing::Test {
protected:
    void SetUp() override { setLanguage(Language::English); }

    // A read of preset 1 whose tenth request gets its acknowledgement but no data answer:
    // the nine fields before are the encoder's, pilotLevel the reader's -1.0, the rest as
    // they were.
    void expectPresetReadStopsAtStep10(const test::Transport& transport) {
        test::SimEncoder sim(transport, {"--fault", "drop-answer:10"});
        ASSERT_TRUE(sim.ready()) << sim.error();
        DeviceConnection connection;
        sim.configure(connection);
        const PresetParameters before = test::distinctPreset(40);
        params.preset = before;
        params.preset.presetNumber = 1;

        EXPECT_EQ(ReadPreset(connection, params.preset), -1);
        const PresetParameters& got = params.preset;
        const PresetParameters encoder = sim.preset(1);
        const auto steps = presetReadSteps();
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const auto& step = steps[i];
            const PresetParameters& want = i < 9 ? encoder : before;
            if (i == 9) {
                EXPECT_EQ(got.*step.real, -1.0);
            } else if (step.real != nullptr) {
                EXPECT_EQ(got.*step.real, static_cast<double>(static_cast<float>(want.*step.real)))
                    << "step " << i + 1;
            } else {
                EXPECT_EQ(got.*step.integer, want.*step.integer) << "step " << i + 1;
            }
        }
        EXPECT_EQ(seam.warnings, Messages{kNoAnswer});
        EXPECT_EQ(seam.events, (Messages{"create", "show:Reading Preset...", "destroy"}));
        EXPECT_FALSE(connection.link().isOpen());
    }

    test::RecordingSeam seam;
    ParameterSet params;
};

TEST_F(TransferFailure, NoAnswerAtStep10OfAPresetReadOverTcp) {
    expectPresetReadStopsAtStep10(kTcp);
}

TEST_F(TransferFailure, NoAnswerAtStep10OfAPresetReadOverTheSerialLine) {
    expectPresetReadStopsAtStep10(kSerialWithAck);
}

TEST_F(TransferFailure, WrongRegisterGroupIsNamedInTheMessage) {
    test::SimEncoder sim(kTcp, {"--fault", "wrong-code:5"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    DeviceConnection connection;
    sim.configure(connection);
    EXPECT_EQ(ReadDevice(connection, params.device, params.status), -1);
    EXPECT_EQ(seam.warnings, Messages{"Falsche Antwort vom Gerät ( 3c anstatt 3b )."});
    EXPECT_EQ(params.device.frontResponse, -1);
    EXPECT_EQ(params.device.dte1Response, 0);
    EXPECT_FALSE(connection.link().isOpen());
}

TEST_F(TransferFailure, ConnectionClosedMidTransferEndsWithinTheTimeOut) {
    test::SimEncoder sim(kTcp, {"--fault", "close:5"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    DeviceConnection connection;
    sim.configure(connection);
    const auto start = Clock::now();
    EXPECT_EQ(ReadDevice(connection, params.device, params.status), -1);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1800));
    EXPECT_EQ(seam.warnings, Messages{kNoAnswer});
}

// An open that fails is the only failure: its one message, nothing sent and no wait for an
// answer that cannot come. A serial port shows string 111; a refused TCP connect shows its
// own message 112, which used to be followed by a second-long wait and the time-out message.
TEST_F(TransferFailure, AFailedOpenIsOneMessageAndNoWaitForEveryProcedure) {
    test::ConfigHome config;
    config.writeIni("[Ports]\nCOM7=" + (config.path() / "no-such-tty").string() + "\n");
    const std::string closed = std::to_string(test::closedLoopbackPort());
    struct Link {
        const char* port;
        const char* ip;
        std::string tcpPort;
        std::string message;
    };
    const Link links[] = {
        {"COM7", "", "", "Can't open 'COM7'!"},
        {"TCP/IP", "127.0.0.1", closed,
         "No connection to '127.0.0.1/127.0.0.1' on port '" + closed + "'!"},
    };
    ClockValues clock;
    const std::function<int(DeviceConnection&)> procedures[] = {
        [this](DeviceConnection& c) { return ReadPreset(c, params.preset); },
        [this](DeviceConnection& c) { return WritePreset(c, params.preset); },
        [this](DeviceConnection& c) { return ReadDevice(c, params.device, params.status); },
        [this](DeviceConnection& c) { return WriteDevice(c, params.device); },
        [](DeviceConnection& c) { return WriteRtc(c, ClockValues{}); },
        [&clock](DeviceConnection& c) { return ReadRtc(c, clock); },
    };
    for (const Link& link : links) {
        for (const auto& procedure : procedures) {
            SCOPED_TRACE(link.port);
            seam.warnings.clear();
            DeviceConnection connection;
            connection.SetParameters(link.port, link.ip, link.tcpPort, 3, 1);
            const auto start = Clock::now();
            EXPECT_EQ(procedure(connection), -1);
            EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
            EXPECT_EQ(seam.warnings, Messages{link.message});
        }
    }
}

TEST_F(TransferFailure, AnUnparsableAddressNeverConnects) {
    DeviceConnection connection;
    connection.SetParameters("TCP/IP", "10.0.0.300", "5000", 3, 1);
    EXPECT_EQ(ReadPreset(connection, params.preset), -1);
    EXPECT_EQ(seam.warnings,
              (Messages{"No connection to '10.0.0.300/10.0.0.300' on port '5000'!"}));
    ASSERT_NE(connection.tcpLink(), nullptr);
    EXPECT_EQ(connection.tcpLink()->client().socket(), -1);
}

struct FaultRow {
    const char* fault;
    const test::Transport& transport;
    int result;
    bool timeoutShown;
};

// Damaged replies to the third request of a preset read: never a crash or a hang, and a
// failure is always shown once. An answer cut at the serial link's 765 bytes is no usable
// answer: the timeout message, not a "wrong" code that names the right one twice.
TEST_F(TransferFailure, DamagedRepliesEndCleanly) {
    const FaultRow rows[] = {
        {"garbage:3", kTcp, 0, false},
        {"bad-crc:3", kTcp, 0, false},
        {"no-end:3", kTcp, -1, true},
        {"oversize:3", kTcp, -1, true},
        {"drop-ack:3", kTcp, -1, true},
        {"oversize:3:900", kSerialWithAck, -1, true},
        {"oversize:3", kSerialWithAck, 0, false},
        {"garbage:3", kSerialWithAck, 0, false},
    };
    for (const FaultRow& row : rows) {
        SCOPED_TRACE(std::string(row.fault) + " " + row.transport.name);
        seam.warnings.clear();
        test::SimEncoder sim(row.transport, {"--fault", row.fault});
        ASSERT_TRUE(sim.ready()) << sim.error();
        DeviceConnection connection;
        sim.configure(connection);
        params.preset.presetNumber = 2;
        const auto start = Clock::now();
        EXPECT_EQ(ReadPreset(connection, params.preset), row.result);
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
        EXPECT_EQ(seam.warnings, row.timeoutShown ? Messages{kNoAnswer} : Messages{});
    }
}

TEST_F(TransferFailure, LevelQueryWithoutAnswerKeepsTheReadings) {
    test::SimEncoder sim(kTcp, {"--fault", "drop-answer:2"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    DeviceConnection connection;
    sim.configure(connection);
    ASSERT_EQ(connection.open(), 0);
    LevelReadings& levels = params.levels;
    ASSERT_EQ(QueryLevels(connection, 0, levels), 0);
    const double left = levels.levelSet0[0].load();
    const double right = levels.levelSet0[1].load();

    EXPECT_EQ(QueryLevels(connection, 0, levels), -1);
    EXPECT_EQ(connection.answerError, -1);
    EXPECT_EQ(levels.levelSet0[0].load(), left);
    EXPECT_EQ(levels.levelSet0[1].load(), right);
    EXPECT_TRUE(seam.warnings.empty());
    // The link stays open for the next poll.
    EXPECT_EQ(QueryLevels(connection, 1, levels), 0);
    EXPECT_NEAR(levels.levelSet1[2].load(), 6.75, 0.051);
    connection.close();
}

}  // namespace
}  // namespace q93
