// Failures of the frame codec, the transfers and the clock and level exchanges that the
// neighbouring tests do not make happen, against real pseudo-terminals and q93sim.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "base/string_table.h"
#include "protocol/clock_transfer.h"
#include "protocol/device_transfer.h"
#include "protocol/frame_codec.h"
#include "protocol/level_query.h"
#include "protocol/preset_transfer.h"
#include "tests/protocol/transfer_fixture.h"
#include "tests/support/pseudo_terminal.h"

namespace q93 {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Messages = std::vector<std::string>;

const std::string kNoAnswer = "Keine Antwort vom Gerät ( Timeout )!";

TEST(FrameCodec, ATextWithoutAReadableFirstTokenGivesAFrameWithoutPayload) {
    // Sequence 0, N = 0, and the checksum of the four zero bytes between start and checksum.
    const Bytes empty{0xFE, 0x00, 0x00, 0x00, 0x00, 0x7B, 0x3F, 0xFF};
    for (const char* text : {"", "zz,41", ",41", "\"\""}) {
        SCOPED_TRACE(text);
        frameSequence = 0;
        FrameCodec codec;
        codec.buildFrame(text);
        EXPECT_EQ(Bytes(codec.wireFrame(), codec.wireFrame() + codec.wireLength()), empty);
    }
}

struct BlindWrite {
    const char* name;
    std::function<int(DeviceConnection&)> procedure;
    const char* progress;
    long frames;
};

// Nothing answers at the far end of the line, and the encoder is not expected to.
TEST(TransferWithoutAcknowledgements, AWriteSendsEveryStepAndCannotFail) {
    setLanguage(Language::English);
    const BlindWrite writes[] = {
        {"preset", [](DeviceConnection& c) { return WritePreset(c, PresetParameters{}); },
         "show:Writing Preset...", 28},
        {"device", [](DeviceConnection& c) { return WriteDevice(c, DeviceParameters{}); },
         "show:Writing Device...", 12},
    };
    for (const BlindWrite& write : writes) {
        SCOPED_TRACE(write.name);
        test::PseudoTerminal line;
        const test::ConfigHome config("[Ports]\nCOM8=" + line.slaveName() + "\n");
        test::RecordingSeam seam;
        DeviceConnection connection;
        connection.SetParameters("COM8", "", "", 5, 0);

        EXPECT_EQ(write.procedure(connection), 0);
        EXPECT_TRUE(seam.warnings.empty());
        EXPECT_EQ(seam.events, (Messages{"create", write.progress, "hide", "destroy"}));
        EXPECT_FALSE(connection.link().isOpen());
        // Stuffing keeps start and end bytes out of a frame, so they count the frames sent.
        const std::string sent = line.receive(1 << 16, 300);
        EXPECT_EQ(std::count(sent.begin(), sent.end(), '\xFE'), write.frames);
        EXPECT_EQ(std::count(sent.begin(), sent.end(), '\xFF'), write.frames);
    }
}

struct ClockFault {
    const char* what;
    const char* fault;
    std::function<int(DeviceConnection&, ClockValues&)> run;
    Messages events;
    bool answerRead;  // the acknowledgement came and the data answer did not
};

// The first request of each run is spoilt; every failure is shown once, closes the link and
// leaves the clock values and the level readings as they were.
TEST(ClockAndLevelFailure, EachEndsWithTheTimeoutAndAClosedLink) {
    setLanguage(Language::English);
    const ClockValues untouched{1, 2, 3, 4, 5, 6, 7};
    ParameterSet params;
    const ClockFault rows[] = {
        {"clock write, no acknowledgement",
         "drop-answer:1",
         [](DeviceConnection& c, ClockValues&) {
             return WriteRtc(c, ClockValues{8, 3, 15});
         },
         {"create", "show:Writing RTC...", "destroy"},
         false},
        {"clock read, no acknowledgement",
         "close:1",
         [](DeviceConnection& c, ClockValues& v) { return ReadRtc(c, v); },
         {"create", "show:Reading RTC...", "destroy"},
         false},
        {"clock read, no answer",
         "drop-answer:1",
         [](DeviceConnection& c, ClockValues& v) { return ReadRtc(c, v); },
         {"create", "show:Reading RTC...", "destroy"},
         true},
        {"level query, no acknowledgement",
         "close:1",
         [&params](DeviceConnection& c, ClockValues&) {
             return c.open() == 0 ? QueryLevels(c, 1, params.levels) : 0;
         },
         {},
         false},
    };
    for (const ClockFault& row : rows) {
        SCOPED_TRACE(row.what);
        params.reset();
        params.levels.levelSet1[0] = 12.5;
        test::SimEncoder sim(test::Transport{"Tcp", true, true}, {"--fault", row.fault});
        ASSERT_TRUE(sim.ready()) << sim.error();
        test::RecordingSeam seam;
        DeviceConnection connection;
        sim.configure(connection);
        ClockValues clock = untouched;

        EXPECT_EQ(row.run(connection, clock), -1);
        EXPECT_EQ(seam.warnings, Messages{kNoAnswer});
        EXPECT_EQ(seam.events, row.events);
        EXPECT_FALSE(connection.link().isOpen());
        EXPECT_EQ(clock, untouched);
        if (row.answerRead) {
            EXPECT_EQ(connection.answerError, -1);
        }
        EXPECT_EQ(params.levels.levelSet1[0].load(), 12.5);
    }
}

}  // namespace
}  // namespace q93
