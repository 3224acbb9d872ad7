#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QWidget>
#include <atomic>
#include <thread>

#include "screen/display/level_meter.h"
#include "screen/display/qt_colour.h"
#include "tests/screen/display/display_test_support.h"

namespace q93 {
namespace {

using Animation = LevelMeter::Animation;

constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr QRgb kYellow = qRgb(255, 255, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);

class LevelMeterTest : public ::testing::Test {
protected:
    // A meter bound in place of a static control of `size`.
    void bindOver(QSize size) {
        auto* control = new QLabel("Static", &parent);
        control->setGeometry(QRect(QPoint(4, 4), size));
        meter.bind(control);
    }
    // The meter of the modulation power dialog.
    void configureAsDialog() {
        meter.setChannels(2, 20);
        meter.setMarkerStyle(1);
        meter.setZones(3000, 4000, 5000);
    }
    QImage painted() { return meter.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QRgb face() const { return qColourOf(meter.settings().backgroundColour).rgb(); }
    QRgb darkened(int amount) const {
        return qColourOf(darkenColour(meter.settings().backgroundColour, amount)).rgb();
    }

    QWidget parent;
    LevelMeter meter;
};

TEST_F(LevelMeterTest, PaintsSegmentsByZoneWithMarkersAndPeakLines) {
    // Columns of 31 pixels, segments of 5; the two rows left over stay at the top.
    bindOver(QSize(62, 102));
    configureAsDialog();
    const std::int32_t values[] = {4000, 3000};
    ASSERT_TRUE(meter.setLevels(values, 0, 2));
    const QImage image = painted();
    const auto segmentTop = [](int j) { return 102 - 5 * (j + 1); };
    const QRgb shaded = darkened(15);
    for (int j = 0; j < 20; ++j) {
        SCOPED_TRACE(j);
        const QRgb left = j < 12 ? kGreen : j < 16 ? kYellow : shaded;
        const QRgb right = j < 12 ? kGreen : shaded;
        EXPECT_EQ(image.pixel(15, segmentTop(j) + 3), left);
        EXPECT_EQ(image.pixel(31 + 15, segmentTop(j) + 3), right);
        // Marker lines show only in the side gaps, at the middle zone's start and the top.
        const bool marked = j == 12 || j == 19;
        EXPECT_EQ(image.pixel(31, segmentTop(j) + 3), marked ? shaded : face());
    }
    EXPECT_EQ(image.pixel(15, 0), face());
    // Peak lines at 4000 and 3000 of 5000, on the gap rows above segments 15 and 11.
    EXPECT_EQ(image.pixel(15, segmentTop(15)), darkened(60));
    EXPECT_EQ(image.pixel(31 + 15, segmentTop(11)), darkened(60));
    EXPECT_EQ(image.pixel(15, segmentTop(14)), face());
}

TEST_F(LevelMeterTest, OneSegmentCountDrawsTenSegmentsWithoutGaps) {
    bindOver(QSize(20, 100));
    ASSERT_TRUE(meter.setChannels(1, 1));
    // Fresh from the reset: level and peak at the full scale of 100.
    const QImage image = painted();
    int unlit = 0;
    for (int y = 1; y < 100; ++y) {
        const int j = (99 - y) / 10;
        const QRgb expected = j < 6 ? kGreen : j < 8 ? kYellow : kRed;
        for (int x = 0; x < 20; ++x)
            unlit += image.pixel(x, y) != expected;
    }
    EXPECT_EQ(unlit, 0);
    // The peak line of a full bar runs along the top row.
    EXPECT_EQ(image.pixel(10, 0), darkened(60));
}

TEST_F(LevelMeterTest, HorizontalLayoutRunsLeftToRightWithoutPeakLine) {
    bindOver(QSize(100, 40));
    meter.setHorizontal(true);
    ASSERT_TRUE(meter.setChannels(2, 10));
    const std::int32_t values[] = {50, 100};
    meter.setLevels(values, 0, 2);
    const QImage image = painted();
    for (int j = 0; j < 10; ++j) {
        SCOPED_TRACE(j);
        EXPECT_EQ(image.pixel(10 * j + 5, 10), j < 5 ? kGreen : face());
        EXPECT_EQ(image.pixel(10 * j + 5, 30), j < 6 ? kGreen : j < 8 ? kYellow : kRed);
        // One pixel gaps between segments and between the rows.
        EXPECT_EQ(image.pixel(10 * j, 30), face());
    }
    EXPECT_EQ(image.pixel(5, 20), face());
}

TEST_F(LevelMeterTest, TheDialogsMeterRestsOnTheEleventhTickAndAnUpdateWakesIt) {
    bindOver(QSize(31, 54));
    for (const ChannelLevel& c : meter.channels())
        EXPECT_EQ(std::make_pair(c.level, c.peak), std::make_pair(100, 100));
    configureAsDialog();
    EXPECT_EQ(meter.channels().size(), 2u);
    // A period that never comes round: the ticks are the test's own.
    ASSERT_TRUE(meter.startAnimation(3600 * 1000));
    meter.tick();
    EXPECT_EQ(meter.channels()[0].level, 0);
    for (int tick = 2; tick <= 10; ++tick)
        meter.tick();
    EXPECT_EQ(meter.channels()[0].peak, 0);
    EXPECT_EQ(meter.channels()[1].peak, 0);
    EXPECT_EQ(meter.animation(), Animation::Animated);
    meter.tick();
    EXPECT_EQ(meter.animation(), Animation::Resting);
    EXPECT_NE(meter.timerId(), 0u);

    const std::int32_t values[] = {4000, 3000};
    EXPECT_FALSE(meter.setLevels(values, -1, 2));
    EXPECT_FALSE(meter.setLevels(nullptr, 0, 2));
    ASSERT_TRUE(meter.setLevels(values, 0, 2));
    EXPECT_EQ(meter.animation(), Animation::Animated);
    EXPECT_EQ(meter.tickPeriod(), 3600 * 1000);
    EXPECT_TRUE(meter.stopAnimation());
    EXPECT_EQ(meter.timerId(), 0u);
    EXPECT_FALSE(meter.stopAnimation());

    // Still: an update only stores; with a real period the bars fall to rest by themselves.
    meter.setLevels(values, 0, 2);
    EXPECT_EQ(meter.animation(), Animation::Still);
    ASSERT_TRUE(meter.startAnimation(5));
    EXPECT_TRUE(test::waitFor([&] { return meter.animation() == Animation::Resting; }));
    EXPECT_EQ(meter.channels()[0].level, 0);
    EXPECT_EQ(meter.channels()[0].peak, 0);
}

TEST_F(LevelMeterTest, StopsWhileAWorkerUpdatesAndTheGuiThreadIsBusy) {
    bindOver(QSize(31, 54));
    configureAsDialog();
    ASSERT_TRUE(meter.startAnimation(1));
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 300; ++i) {
            const std::int32_t values[] = {(i * 37) % 5000, (i * 53) % 5000};
            meter.setLevels(values, 0, 2);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        done.store(true);
    });
    // Painting reads the table while the worker writes it and the timer decays it.
    EXPECT_TRUE(test::waitFor([&] {
        painted();
        return done.load();
    }));
    worker.join();
    // Repaint requests pile up while the GUI thread does not look; the ticks go on without
    // it, and stopping waits only for the tick in progress.
    meter.setLevels(std::array<std::int32_t, 2>{4000, 4000}.data(), 0, 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_TRUE(meter.stopAnimation());
    EXPECT_EQ(meter.animation(), Animation::Still);
}

}  // namespace
}  // namespace q93
