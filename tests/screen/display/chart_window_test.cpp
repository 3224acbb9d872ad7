#include <gtest/gtest.h>

#include <QWidget>

#include "screen/display/chart_window.h"
#include "screen/display/qt_colour.h"
#include "tests/screen/display/chart_ink.h"

namespace q93 {
namespace {

using test::showsLabel;

class ChartWindowTest : public ::testing::Test {
protected:
    ChartWindowTest() {
        chart = new ChartWindow(3);
        parent.resize(360, 260);
        parent.show();
        chart->create(QRect(10, 10, 330, 220), &parent, 0);
    }
    QRgb at(int x, int y) const { return chart->gridLayer().pixel(x, y); }
    QRgb grid() const { return qColourOf(chart->gridColour()).rgb(); }
    QRgb background() const { return qColourOf(chart->backgroundColour()).rgb(); }
    // Grid-coloured pixels strictly inside the border.
    int innerDots() const {
        const auto& r = chart->plotRect();
        const QRect inside(QPoint(r.left + 1, r.top + 1), QPoint(r.right, r.bottom));
        int dots = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                dots += at(x, y) == grid();
        return dots;
    }

    QWidget parent;
    ChartWindow* chart;
};

TEST_F(ChartWindowTest, DefaultsFrameTheRangeMinusTenToTen) {
    const QRect client = chart->contentsRect();
    const auto& r = chart->plotRect();
    EXPECT_EQ(chart->gridLayer().size(), client.size());
    EXPECT_EQ(chart->dataLayer().size(), client.size());
    EXPECT_EQ(r.left, 48);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.right, client.width() - 10);
    EXPECT_EQ(r.bottom, client.height() - 25);
    EXPECT_EQ(chart->series(0).colour, rgbColour(255, 0, 0));
    EXPECT_EQ(chart->series(1).colour, rgbColour(255, 192, 192));
    EXPECT_EQ(chart->series(2).span, 20.0);
    EXPECT_TRUE(showsLabel(*chart, test::Label::YMax, "10.000"));
    EXPECT_TRUE(showsLabel(*chart, test::Label::YMin, "-10.000"));
    EXPECT_TRUE(showsLabel(*chart, test::Label::XMin, "0"));
    EXPECT_TRUE(showsLabel(*chart, test::Label::XMax, QString::number((r.right - r.left) / 4)));
    EXPECT_TRUE(showsLabel(*chart, test::Label::XTitle, "Samples"));
    EXPECT_TRUE(showsLabel(*chart, test::Label::YTitle, "Y units"));
    // The border one pixel beyond right and bottom, and the first grid row's dots 4 apart.
    for (const QPoint corner : {QPoint(r.left, r.top), QPoint(r.right + 1, r.top),
                                QPoint(r.right + 1, r.bottom + 1), QPoint(r.left, r.bottom + 1)})
        EXPECT_EQ(at(corner.x(), corner.y()), grid());
    const int row = r.top + (r.bottom - r.top) / 5;
    EXPECT_EQ(at(r.left + 4, row), grid());
    EXPECT_EQ(at(r.left + 5, row), background());
    const int column = r.left + (r.right - r.left) / 7;
    EXPECT_EQ(at(column, r.top + 8), grid());
    EXPECT_EQ(at(column, r.top + 9), background());
}

TEST_F(ChartWindowTest, RangeAndDecimalsSetLabelsAndMargin) {
    chart->decimals = 1;
    chart->setRange(0.0, 100.0, 0);
    EXPECT_EQ(chart->plotRect().left, 42);
    EXPECT_TRUE(showsLabel(*chart, test::Label::YMax, "100.0"));
    EXPECT_TRUE(showsLabel(*chart, test::Label::YMin, "0.0"));
    // Only series 0 frames the chart.
    chart->setRange(-5000.0, 5000.0, 1);
    EXPECT_EQ(chart->plotRect().left, 42);
    EXPECT_EQ(chart->series(1).span, 10000.0);
}

TEST_F(ChartWindowTest, AnExplicitEndLabelWinsOverTheDerivedOne) {
    chart->sampleCount = 60;
    chart->setXAxis("t", "", "");
    EXPECT_TRUE(showsLabel(*chart, test::Label::XMax, "59"));
    chart->setXAxis("t", "start", "end");
    EXPECT_TRUE(showsLabel(*chart, test::Label::XMin, "start"));
    EXPECT_TRUE(showsLabel(*chart, test::Label::XMax, "end"));
    chart->setYAxis("y", "low", "high");
    EXPECT_TRUE(showsLabel(*chart, test::Label::YMax, "high"));
    EXPECT_TRUE(showsLabel(*chart, test::Label::YMin, "low"));
}

TEST_F(ChartWindowTest, ZeroGridLinesDrawNoDotsButTheBorder) {
    EXPECT_GT(innerDots(), 0);
    chart->horizontalLines = 0;
    chart->verticalLines = 0;
    chart->setGridColour(rgbColour(192, 192, 255));
    EXPECT_EQ(innerDots(), 0);
    const auto& r = chart->plotRect();
    EXPECT_EQ(at(r.right + 1, r.bottom + 1), qRgb(192, 192, 255));
}

TEST_F(ChartWindowTest, ResizeRebuildsBothLayers) {
    chart->setBackgroundColour(rgbColour(0, 0, 64));
    chart->resize(200, 150);
    const QRect client = chart->contentsRect();
    EXPECT_EQ(chart->gridLayer().size(), client.size());
    EXPECT_EQ(chart->dataLayer().size(), client.size());
    EXPECT_EQ(chart->plotRect().bottom, client.height() - 25);
    EXPECT_EQ(chart->dataLayer().pixel(5, 5), qRgb(0, 0, 64));
}

TEST_F(ChartWindowTest, SeriesPointsArePlottedOnTheDataLayerAndOredOverTheGrid) {
    chart->setSeriesColour(rgbColour(255, 100, 100), 0);
    const auto& r = chart->plotRect();
    // A flat line at the range's middle, across the whole plot.
    chart->setSeriesPoints(0, {QPointF(0.0, 0.0), QPointF(60.0, 0.0)}, 60.0);
    const int middle = r.bottom - (r.bottom - r.top) / 2;
    EXPECT_EQ(chart->dataLayer().pixel((r.left + r.right) / 2, middle), qRgb(255, 100, 100));
    EXPECT_EQ(chart->dataLayer().pixel((r.left + r.right) / 2, middle - 2), qRgb(0, 0, 0));
    EXPECT_EQ(chart->combined().pixel(r.left, middle), qRgb(255, 100, 100) | grid());
}

}  // namespace
}  // namespace q93
