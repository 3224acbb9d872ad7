#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

#include "screen/display/level_poll.h"
#include "tests/screen/display/late_peer.h"
#include "tests/support/recording_seam.h"

namespace q93 {
namespace {

using test::LatePeer;

constexpr int kPolls = 6;

// Keeps every reading and ends the loop after kPolls.
class RecordingSink : public PollSink {
public:
    explicit RecordingSink(std::atomic<std::int32_t>& running) : running_(running) {}
    void deliver(const PollReading& reading) override {
        readings.push_back(reading);
        if (readings.size() == kPolls)
            running_.store(0);
    }
    std::vector<PollReading> readings;

private:
    std::atomic<std::int32_t>& running_;
};

struct LateRow {
    const char* name;
    bool holdsLine;
};

TEST(LevelPoll, OneLateAnswerCostsOneReading) {
    for (const LateRow row :
         {LateRow{"answers in order", true}, LateRow{"answers out of turn", false}}) {
        SCOPED_TRACE(row.name);
        test::RecordingSeam seam;
        // The third query, the left/right query of the second poll, is answered late.
        LatePeer peer(3, row.holdsLine);
        std::atomic<std::int32_t> running{1};
        RecordingSink sink(running);
        LevelReadings levels;
        std::thread worker(
            [&] { runLevelPoll(test::tcpEncoder(peer.port()), levels, running, sink); });
        worker.join();
        EXPECT_EQ(running.load(), 0);
        ASSERT_EQ(sink.readings.size(), static_cast<std::size_t>(kPolls));
        for (int poll = 1; poll <= kPolls; ++poll) {
            SCOPED_TRACE(poll);
            const PollReading& reading = sink.readings[static_cast<std::size_t>(poll - 1)];
            const int leftQuery = 2 * poll - 1;
            EXPECT_EQ(reading.channelsFresh, poll != 2);
            EXPECT_TRUE(reading.deviationFresh);
            if (reading.channelsFresh) {
                EXPECT_EQ(reading.channels[0],
                          meterValueForDeviation(test::leftReading(leftQuery)));
                EXPECT_EQ(reading.channels[1],
                          meterValueForDeviation(test::rightReading(leftQuery)));
            }
            EXPECT_EQ(reading.mpxDeviationKhz, test::mpxReading(leftQuery + 1));
        }
        EXPECT_TRUE(seam.warnings.empty());
    }
}

TEST(LevelPoll, DeviationsOnTheMetersScale) {
    const struct {
        double kHz;
        std::int32_t value;
    } rows[] = {{0.0, 0},      {45.0, 2250},  {60.0, 3000}, {80.5, 4025},
                {100.0, 5000}, {130.0, 5000}, {-3.0, 0},    {std::nan(""), 0}};
    for (const auto& row : rows)
        EXPECT_EQ(meterValueForDeviation(row.kHz), row.value) << row.kHz;
}

}  // namespace
}  // namespace q93
