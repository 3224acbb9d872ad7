#pragma once

#include <QFont>
#include <QFrame>
#include <QImage>
#include <QPointF>
#include <QString>
#include <vector>

#include "screen/display/chart_frame.h"

namespace q93 {

// The frame of an x/y chart: a plot rectangle with a one-pixel border, dotted grid lines,
// labels at both ends of each axis, an x title under the plot and a y title rotated left of
// it. Two layers the size of the client area hold it: the grid layer with background,
// frame, grid and texts, drawn once per change, and the data layer with the plotted
// series; a paint combines them (data ORed over grid) and copies the result in one piece.
class ChartWindow : public QFrame {
    Q_OBJECT

public:
    // The plot area in client coordinates; right and bottom are the last columns and rows
    // inside, the border runs one pixel beyond them.
    struct PlotRect {
        int left = 0, top = 0, right = 0, bottom = 0;
    };

    explicit ChartWindow(int seriesCount, QWidget* parent = nullptr);

    // Makes the chart a visible child of `parent` over `rectangle`, known by `id`, with a
    // sunken client edge, and draws its frame.
    bool create(const QRect& rectangle, QWidget* parent, int id);

    // Take effect at the next redrawFrame.
    int verticalLines = 6;
    int horizontalLines = 4;
    int pixelsPerSample = 4;
    int sampleCount = -1;  // negative: derived from the plot width
    int decimals = 3;

    // Each redraws the frame, except setSeriesColour.
    void setRange(double min, double max, int series);
    void setXAxis(const QString& title, const QString& minLabel, const QString& maxLabel);
    void setYAxis(const QString& title, const QString& minLabel, const QString& maxLabel);
    void setGridColour(ColourValue colour);
    void setBackgroundColour(ColourValue colour);
    void setSeriesColour(ColourValue colour, int series);
    void redrawFrame();

    // Plots a series as a line through `points`: x from 0 (left edge) to xSpan (right
    // edge), y in the series' units, clamped to its range. Kept and drawn again whenever
    // the data layer is cleared.
    void setSeriesPoints(int series, std::vector<QPointF> points, double xSpan);

    const QImage& gridLayer() const { return gridLayer_; }
    const QImage& dataLayer() const { return dataLayer_; }
    // The two layers as a paint combines them.
    QImage combined() const;
    const PlotRect& plotRect() const { return plotRect_; }
    const ChartSeries& series(int index) const {
        return series_.at(static_cast<std::size_t>(index));
    }
    int id() const { return id_; }
    // The font of the labels and the x title; the y title uses it turned upward.
    const QFont& labelFont() const { return labelFont_; }
    ColourValue gridColour() const { return gridColour_; }
    ColourValue backgroundColour() const { return backgroundColour_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void layOut();
    void drawBorderAndGrid();
    void drawTexts();
    void drawData();
    void recomputeScale(ChartSeries& series) const;

    std::vector<ChartSeries> series_;
    struct SeriesPoints {
        std::vector<QPointF> points;
        double xSpan = 1.0;
    };
    std::vector<SeriesPoints> points_;
    QString xTitle_ = QStringLiteral("Samples");
    QString xMinLabel_;
    QString xMaxLabel_;
    QString yTitle_ = QStringLiteral("Y units");
    QString yMinLabel_;
    QString yMaxLabel_;
    ColourValue backgroundColour_ = rgbColour(0, 0, 0);
    ColourValue gridColour_ = rgbColour(0, 255, 255);
    int width_ = 0;
    int height_ = 0;
    PlotRect plotRect_;
    QImage gridLayer_;
    QImage dataLayer_;
    QFont labelFont_;
    int id_ = 0;
};

}  // namespace q93
