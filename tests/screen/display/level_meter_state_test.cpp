#include <gtest/gtest.h>

#include "screen/display/level_meter_state.h"

namespace q93 {
namespace {

// The modulation power dialog's meter: 2 channels of 20 segments, zones 3000 / 4000 / 5000.
struct DialogMeter : LevelMeterState {
    DialogMeter() : LevelMeterState(rgbColour(240, 240, 240)) {
        setChannels(2, 20);
        setZones(3000, 4000, 5000);
    }
    ChannelLevel channel(int i) const { return channels().at(static_cast<std::size_t>(i)); }
};

TEST(LevelMeterState, ATickTakesAStepOffLevelsAndHalfAStepOffFallingPeaks) {
    DialogMeter meter;
    const std::int32_t values[] = {4000, 3000, 777};
    meter.storeLevels(values, 0, 3);
    EXPECT_EQ(meter.channels().size(), 2u);
    meter.decay();
    EXPECT_EQ(meter.channel(0).level, 3750);
    // A value equal to the peak does not renew its hold.
    meter.storeLevels(values, 1, 1);
    EXPECT_EQ(meter.channel(1).hold, 9);
    for (int i = 0; i < 9; ++i)
        meter.decay();
    EXPECT_EQ(meter.channel(0).peak, 4000 - 125);
    EXPECT_EQ(meter.channel(1).peak, 3000 - 125);
}

TEST(LevelMeterState, ASegmentCountOfOneMeansTenthsOfTheFullScale) {
    LevelMeterState meter(0);
    ASSERT_TRUE(meter.setChannels(1, 1));
    EXPECT_EQ(effectiveSegments(meter.settings()), 10);
    const std::int32_t value = 80;
    meter.storeLevels(&value, 0, 1);
    for (int i = 0; i < 10; ++i)
        meter.decay();
    // Ten ticks of 10 off the level; the held peak of 100 fell once, by 5, on the tenth.
    EXPECT_EQ(meter.channels()[0].level, 0);
    EXPECT_EQ(meter.channels()[0].peak, 95);
}

TEST(LevelMeterState, RefusesZeroCountsAndDarkensDownToZero) {
    DialogMeter meter;
    EXPECT_FALSE(meter.setChannels(0, 20));
    EXPECT_FALSE(meter.setChannels(2, 0));
    EXPECT_EQ(meter.settings().channelCount, 2u);
    EXPECT_EQ(meter.settings().segmentCount, 20);
    EXPECT_EQ(darkenColour(rgbColour(240, 10, 100), 15), rgbColour(225, 0, 85));
    EXPECT_EQ(darkenColour(0xFF000000u | rgbColour(60, 61, 59), 60), rgbColour(0, 1, 0));
}

}  // namespace
}  // namespace q93
