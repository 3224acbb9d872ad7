#include "screen/display/chart_window.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "screen/display/qt_colour.h"

namespace q93 {
namespace {

// The plot's distance from the client edges before the left margin is known.
constexpr int kPlotLeft = 20;
constexpr int kPlotTop = 10;
constexpr int kPlotRightGap = 10;
constexpr int kPlotBottomGap = 25;
// Labels keep this far from the plot border.
constexpr int kLabelGap = 4;
// Grid dots are single pixels this far apart.
constexpr int kDotStep = 4;
// The labels' font: Arial (or the sans-serif face standing in for it) with a character
// cell 14 pixels high.
constexpr int kLabelCellHeight = 14;

QFont makeLabelFont() {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    // Asked for at weight 300, Arial, which has no light face, always drew its regular one;
    // here the font system would thin a regular face instead and lose the decimal point.
    font.setWeight(QFont::Normal);
    // Crisp single-colour text, as the labels were always drawn.
    font.setStyleStrategy(QFont::NoAntialias);
    for (int pixels = kLabelCellHeight; pixels > 1; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() <= kLabelCellHeight)
            break;
    }
    return font;
}

QImage newLayer(int width, int height) {
    return QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
}

void dot(QImage& image, int x, int y, QRgb colour) {
    if (image.rect().contains(x, y))
        image.setPixel(x, y, colour);
}

// A pen line between two points on one row or column: the start pixel drawn, the end
// pixel not, in whichever direction it runs.
void line(QImage& image, QPoint from, QPoint to, QRgb colour) {
    const int dx = (to.x() > from.x()) - (to.x() < from.x());
    const int dy = (to.y() > from.y()) - (to.y() < from.y());
    for (QPoint at = from; at != to; at += QPoint(dx, dy))
        dot(image, at.x(), at.y(), colour);
}

enum class Anchor { RightTop, RightBaseline, LeftTop, CentreTop };

void drawAnchored(QPainter& painter, const QString& text, int x, int y, Anchor anchor) {
    const QFontMetrics metrics(painter.font());
    const int width = metrics.horizontalAdvance(text);
    const bool top = anchor != Anchor::RightBaseline;
    int left = x;
    if (anchor == Anchor::RightTop || anchor == Anchor::RightBaseline)
        left = x - width;
    else if (anchor == Anchor::CentreTop)
        left = x - width / 2;
    painter.drawText(left, top ? y + metrics.ascent() : y, text);
}

QString orDerived(const QString& given, const std::string& derived) {
    return given.isEmpty() ? QString::fromStdString(derived) : given;
}

}  // namespace

ChartWindow::ChartWindow(int seriesCount, QWidget* parent)
    : QFrame(parent),
      series_(defaultSeriesTable(seriesCount)),
      points_(series_.size()),
      labelFont_(makeLabelFont()) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
}

bool ChartWindow::create(const QRect& rectangle, QWidget* parent, int id) {
    setParent(parent);
    setGeometry(rectangle);
    id_ = id;
    show();
    layOut();
    redrawFrame();
    return true;
}

void ChartWindow::recomputeScale(ChartSeries& series) const {
    series.span = series.max - series.min;
    const int plotHeight = plotRect_.bottom - plotRect_.top;
    series.pixelsPerUnit = series.span != 0.0 ? plotHeight / series.span : 0.0;
}

void ChartWindow::layOut() {
    const QRect client = contentsRect();
    width_ = client.width();
    height_ = client.height();
    plotRect_ = {kPlotLeft, kPlotTop, width_ - kPlotRightGap, height_ - kPlotBottomGap};
    for (ChartSeries& series : series_)
        recomputeScale(series);
    if (!gridLayer_.isNull())
        gridLayer_ = newLayer(width_, height_);
    if (!dataLayer_.isNull())
        dataLayer_ = newLayer(width_, height_);
}

void ChartWindow::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    layOut();
    redrawFrame();
}

void ChartWindow::setRange(double min, double max, int series) {
    if (series < 0 || series >= static_cast<int>(series_.size()))
        return;
    ChartSeries& changed = series_[static_cast<std::size_t>(series)];
    changed.min = min;
    changed.max = max;
    recomputeScale(changed);
    redrawFrame();
}

void ChartWindow::setXAxis(const QString& title, const QString& minLabel, const QString& maxLabel) {
    xTitle_ = title;
    xMinLabel_ = minLabel;
    xMaxLabel_ = maxLabel;
    redrawFrame();
}

void ChartWindow::setYAxis(const QString& title, const QString& minLabel, const QString& maxLabel) {
    yTitle_ = title;
    yMinLabel_ = minLabel;
    yMaxLabel_ = maxLabel;
    redrawFrame();
}

void ChartWindow::setGridColour(ColourValue colour) {
    gridColour_ = colour;
    redrawFrame();
}

void ChartWindow::setBackgroundColour(ColourValue colour) {
    backgroundColour_ = colour;
    redrawFrame();
}

void ChartWindow::setSeriesColour(ColourValue colour, int series) {
    if (series >= 0 && series < static_cast<int>(series_.size()))
        series_[static_cast<std::size_t>(series)].colour = colour;
}

void ChartWindow::redrawFrame() {
    if (gridLayer_.isNull())
        gridLayer_ = newLayer(width_, height_);
    gridLayer_.fill(qColourOf(backgroundColour_));
    const ChartSeries range = series_.empty() ? ChartSeries{} : series_.front();
    plotRect_.left = chartLeftMargin(range.min, range.max, decimals);
    drawBorderAndGrid();
    drawTexts();
    if (dataLayer_.isNull())
        dataLayer_ = newLayer(width_, height_);
    dataLayer_.fill(qColourOf(backgroundColour_));
    drawData();
    update();
}

void ChartWindow::drawBorderAndGrid() {
    const QRgb colour = qColourOf(gridColour_).rgb();
    const PlotRect& r = plotRect_;
    const QPoint corners[] = {
        {r.left, r.top}, {r.right + 1, r.top}, {r.right + 1, r.bottom + 1}, {r.left, r.bottom + 1}};
    for (int i = 0; i < 4; ++i)
        line(gridLayer_, corners[i], corners[(i + 1) % 4], colour);
    for (int i = 1; i <= horizontalLines; ++i) {
        const int y = r.top + i * (r.bottom - r.top) / (horizontalLines + 1);
        for (int x = r.left; x < r.right; x += kDotStep)
            dot(gridLayer_, x, y, colour);
    }
    for (int j = 1; j <= verticalLines; ++j) {
        const int x = r.left + j * (r.right - r.left) / (verticalLines + 1);
        for (int y = r.top; y < r.bottom; y += kDotStep)
            dot(gridLayer_, x, y, colour);
    }
}

void ChartWindow::drawTexts() {
    const ChartSeries range = series_.empty() ? ChartSeries{} : series_.front();
    const PlotRect& r = plotRect_;
    QPainter painter(&gridLayer_);
    painter.setFont(labelFont_);
    painter.setPen(qColourOf(gridColour_));
    drawAnchored(painter, orDerived(yMaxLabel_, fixedLabel(decimals, range.max)),
                 r.left - kLabelGap, r.top, Anchor::RightTop);
    drawAnchored(painter, orDerived(yMinLabel_, fixedLabel(decimals, range.min)),
                 r.left - kLabelGap, r.bottom, Anchor::RightBaseline);
    drawAnchored(painter, orDerived(xMinLabel_, "0"), r.left, r.bottom + kLabelGap,
                 Anchor::LeftTop);
    const std::string xMax = derivedXMaxLabel(sampleCount, r.right - r.left, pixelsPerSample);
    drawAnchored(painter, orDerived(xMaxLabel_, xMax), r.right, r.bottom + kLabelGap,
                 Anchor::RightTop);
    drawAnchored(painter, xTitle_, (r.left + r.right) / 2, r.bottom + kLabelGap, Anchor::CentreTop);
    // The y title runs upward, centred on its anchor, with the glyphs left of it.
    painter.translate(r.left / 2, (r.bottom + r.top) / 2);
    painter.rotate(-90.0);
    painter.drawText(-QFontMetrics(labelFont_).horizontalAdvance(yTitle_) / 2, 0, yTitle_);
}

void ChartWindow::setSeriesPoints(int series, std::vector<QPointF> points, double xSpan) {
    if (series < 0 || series >= static_cast<int>(points_.size()) || xSpan <= 0.0)
        return;
    points_[static_cast<std::size_t>(series)] = {std::move(points), xSpan};
    if (dataLayer_.isNull())
        return;
    dataLayer_.fill(qColourOf(backgroundColour_));
    drawData();
    update();
}

void ChartWindow::drawData() {
    const PlotRect& r = plotRect_;
    QPainter painter(&dataLayer_);
    for (std::size_t k = 0; k < points_.size(); ++k) {
        const ChartSeries& s = series_[k];
        const SeriesPoints& data = points_[k];
        if (data.points.empty())
            continue;
        QPolygon line;
        for (const QPointF& point : data.points) {
            const double value =
                std::clamp(point.y(), std::min(s.min, s.max), std::max(s.min, s.max));
            const double x = r.left + point.x() * (r.right - r.left) / data.xSpan;
            const double y = r.bottom - (value - s.min) * s.pixelsPerUnit;
            line << QPoint(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
        }
        painter.setPen(QPen(qColourOf(s.colour), 0));
        if (line.size() == 1) {
            painter.drawPoint(line.front());
        } else {
            painter.drawPolyline(line);
        }
    }
}

QImage ChartWindow::combined() const {
    QImage out = gridLayer_.copy();
    QPainter painter(&out);
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(0, 0, dataLayer_);
    return out;
}

void ChartWindow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (!gridLayer_.isNull())
        painter.drawImage(contentsRect().topLeft(), combined());
    drawFrame(&painter);
}

}  // namespace q93
