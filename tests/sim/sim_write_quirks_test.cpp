// q93sim's --ignore-set and --clamp: an encoder that acknowledges a write but does not keep
// it, met through the tool's own preset transfer, so that verify and roll-back have a peer.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/string_table.h"
#include "protocol/device_connection.h"
#include "protocol/device_transfer.h"
#include "protocol/preset_transfer.h"
#include "tests/protocol/transfer_fixture.h"
#include "tests/support/process_runner.h"
#include "tests/support/recording_seam.h"
#include "tests/support/sim_process.h"

namespace q93::test {
namespace {

// What one preset write leaves in the misbehaving encoder: the sent preset, changed by
// `held` given what the encoder held before.
struct QuirkCase {
    const char* name;
    std::vector<std::string> args;
    int encoders;
    int misbehaving;  // the encoder that does not keep what it is sent
    std::function<void(PresetParameters& want, const PresetParameters& before)> held;
};

// Above every ceiling below and unlike the factory values, so that each case can show.
PresetParameters sentPreset() {
    PresetParameters sent = distinctPreset(0);
    sent.presetNumber = 4;
    sent.pilotLevel = 7.5;
    sent.preemphasis = 2;
    sent.modChkAnalogLevel = 3.0;
    return sent;
}

PresetParameters readBack(DeviceConnection& connection) {
    PresetParameters got;
    got.presetNumber = 4;
    EXPECT_EQ(ReadPreset(connection, got), 0);
    return got;
}

TEST(SimWriteQuirks, NamedEncoderKeepsOrClampsWhatItAcknowledges) {
    setLanguage(Language::English);
    const std::vector<QuirkCase> cases = {
        {"ignored float",
         {"--ignore-set", "pilotLevel"},
         1,
         1,
         [](PresetParameters& want, const PresetParameters& before) {
             want.pilotLevel = before.pilotLevel;
         }},
        {"ignored byte",
         {"--ignore-set=preemphasis"},
         1,
         1,
         [](PresetParameters& want, const PresetParameters& before) {
             want.preemphasis = before.preemphasis;
         }},
        {"clamped float",
         {"--clamp", "pilotLevel=6.0"},
         1,
         1,
         [](PresetParameters& want, const PresetParameters&) { want.pilotLevel = 6.0; }},
        {"clamped byte",
         {"--clamp", "preemphasis=1"},
         1,
         1,
         [](PresetParameters& want, const PresetParameters&) { want.preemphasis = 1; }},
        {"clamped indexed",
         {"--clamp", "modChkAnalogLevel=1.5"},
         1,
         1,
         [](PresetParameters& want, const PresetParameters&) { want.modChkAnalogLevel = 1.5; }},
        {"below the ceiling",
         {"--clamp", "pilotLevel=8"},
         1,
         1,
         [](PresetParameters&, const PresetParameters&) {}},
        {"fleet, ignored",
         {"--encoders", "3", "--ignore-set", "2:pilotLevel"},
         3,
         2,
         [](PresetParameters& want, const PresetParameters& before) {
             want.pilotLevel = before.pilotLevel;
         }},
        {"fleet, clamped",
         {"--encoders", "3", "--clamp=3:pilotLevel=6.0"},
         3,
         3,
         [](PresetParameters& want, const PresetParameters&) { want.pilotLevel = 6.0; }},
        {"fleet, no prefix",
         {"--encoders", "2", "--ignore-set", "pilotLevel"},
         2,
         1,
         [](PresetParameters& want, const PresetParameters& before) {
             want.pilotLevel = before.pilotLevel;
         }},
    };
    for (const QuirkCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args{"--tcp", "127.0.0.1:0"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SimProcess sim(args);
        ASSERT_TRUE(sim.ready()) << sim.error();
        RecordingSeam seam;
        for (int k = 1; k <= c.encoders; ++k) {
            SCOPED_TRACE("encoder " + std::to_string(k));
            DeviceConnection connection;
            connection.SetParameters("TCP/IP", sim.host(), std::to_string(sim.port() + k - 1), 5,
                                     1);
            const PresetParameters before = readBack(connection);
            PresetParameters sent = sentPreset();
            ASSERT_EQ(WritePreset(connection, sent), 0);  // every set acknowledged
            PresetParameters want = sentPreset();
            if (k == c.misbehaving)
                c.held(want, before);
            const PresetParameters got = readBack(connection);
            EXPECT_TRUE(sameFields(got, want, presetReadSteps()))
                << "pilotLevel " << got.pilotLevel << " preemphasis " << got.preemphasis
                << " modChkAnalogLevel " << got.modChkAnalogLevel << " inputLevel "
                << got.inputLevel;
            // The other fields did change: the write itself went through.
            EXPECT_EQ(got.inputLevel, static_cast<double>(static_cast<float>(sent.inputLevel)));
            EXPECT_NE(got.inputLevel, before.inputLevel);
        }
        EXPECT_TRUE(seam.warnings.empty());
    }
}

TEST(SimWriteQuirks, DeviceFieldIsClampedWhileTheRestIsWritten) {
    setLanguage(Language::English);
    SimProcess sim({"--tcp", "127.0.0.1:0", "--clamp", "sensitivity40k=4.0"});
    ASSERT_TRUE(sim.ready()) << sim.error();
    RecordingSeam seam;
    DeviceConnection connection;
    connection.SetParameters("TCP/IP", sim.host(), std::to_string(sim.port()), 5, 1);
    DeviceParameters sent = distinctDevice(3);
    sent.sensitivity40k = 8.0;
    ASSERT_EQ(WriteDevice(connection, sent), 0);
    DeviceParameters got;
    DeviceStatus status;
    ASSERT_EQ(ReadDevice(connection, got, status), 0);
    DeviceParameters want = sent;
    want.sensitivity40k = 4.0;
    EXPECT_TRUE(sameFields(got, want, deviceReadSteps()))
        << "sensitivity40k " << got.sensitivity40k;
}

TEST(SimWriteQuirks, RefusesWhatItCannotApply) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--ignore-set", "noSuchField"}, "unknown field 'noSuchField'"},
        {{"--ignore-set", "frontBaud"}, "frontBaud is not set by one"},
        {{"--clamp", "correctionValues=3"}, "correctionValues is not set by one"},
        {{"--ignore-set", "0:pilotLevel"}, "encoder number from 1"},
        {{"--ignore-set", "2:pilotLevel"}, "name encoder 2 of 1"},
        {{"--encoders", "3", "--clamp", "4:pilotLevel=6"}, "name encoder 4 of 3"},
        {{"--clamp", "pilotLevel"}, "--clamp needs [K:]FIELD=MAX"},
        {{"--clamp", "pilotLevel=high"}, "a number for MAX of pilotLevel"},
        {{"--clamp", "preemphasis=1.5"}, "whole number from 0 to 255"},
        {{"--clamp", "modChkAnalogOnTime=65536"}, "whole number from 0 to 65535"},
        {{"--ignore-set", "pilotLevel", "--clamp", "pilotLevel=6"}, "both name pilotLevel"},
        {{"--ignore-set"}, "--ignore-set needs [K:]FIELD"},
    };
    for (const auto& [args, message] : cases) {
        std::vector<std::string> argv{binPath("q93sim")};
        argv.insert(argv.end(), args.begin(), args.end());
        const ProcessResult run = runProgram(argv, 5);
        EXPECT_EQ(run.exitCode, 2) << args.back();
        EXPECT_NE(run.err.find(message), std::string::npos) << args.back() << ": " << run.err;
    }
}

}  // namespace
}  // namespace q93::test
