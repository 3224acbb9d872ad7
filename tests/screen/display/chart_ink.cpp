#include "tests/screen/display/chart_ink.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "screen/display/qt_colour.h"

namespace q93::test {
namespace {

constexpr int kGap = 4;

// The label written alone on the chart's background.
QImage written(const ChartWindow& chart, Label label, const QString& text) {
    const auto& r = chart.plotRect();
    const QFontMetrics metrics(chart.labelFont());
    const int width = metrics.horizontalAdvance(text);
    const int top = metrics.ascent();
    QImage image(chart.gridLayer().size(), QImage::Format_RGB32);
    image.fill(qColourOf(chart.backgroundColour()));
    QPainter painter(&image);
    painter.setFont(chart.labelFont());
    painter.setPen(qColourOf(chart.gridColour()));
    switch (label) {
        case Label::YMax:
            painter.drawText(r.left - kGap - width, r.top + top, text);
            break;
        case Label::YMin:
            painter.drawText(r.left - kGap - width, r.bottom, text);
            break;
        case Label::XMin:
            painter.drawText(r.left, r.bottom + kGap + top, text);
            break;
        case Label::XMax:
            painter.drawText(r.right - width, r.bottom + kGap + top, text);
            break;
        case Label::XTitle:
            painter.drawText((r.left + r.right) / 2 - width / 2, r.bottom + kGap + top, text);
            break;
        case Label::YTitle:
            painter.translate(r.left / 2, (r.bottom + r.top) / 2);
            painter.rotate(-90.0);
            painter.drawText(-width / 2, 0, text);
            break;
    }
    return image;
}

}  // namespace

::testing::AssertionResult showsLabel(const ChartWindow& chart, Label label, const QString& text) {
    const QImage expected = written(chart, label, text);
    const QRgb ink = qColourOf(chart.gridColour()).rgb();
    QRect box;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (expected.pixel(x, y) == ink)
                box |= QRect(x, y, 1, 1);
    if (box.isEmpty())
        return ::testing::AssertionFailure() << "'" << text.toStdString() << "' has no ink";
    const QRect around = box.adjusted(-1, -1, 1, 1).intersected(expected.rect());
    int differing = 0;
    for (int y = around.top(); y <= around.bottom(); ++y)
        for (int x = around.left(); x <= around.right(); ++x)
            differing += (chart.gridLayer().pixel(x, y) == ink) != (expected.pixel(x, y) == ink);
    if (differing == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "'" << text.toStdString() << "' differs in " << differing << " pixels";
}

}  // namespace q93::test
