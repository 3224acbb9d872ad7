#include "screen/display/level_meter_painter.h"

#include <algorithm>
#include <cstdint>

#include "screen/display/qt_colour.h"

namespace q93 {
namespace {

// A rectangle as the drawing steps count it: right and bottom lie just outside.
struct Cell {
    int left, top, right, bottom;
};

void fill(QPainter& painter, const Cell& cell, ColourValue colour) {
    if (cell.right > cell.left && cell.bottom > cell.top) {
        painter.fillRect(QRect(cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top),
                         qColourOf(colour));
    }
}

void horizontalLine(QPainter& painter, int fromX, int toX, int y, ColourValue colour) {
    fill(painter, {fromX, y, toX, y + 1}, colour);
}

void verticalLine(QPainter& painter, int x, int fromY, int toY, ColourValue colour) {
    fill(painter, {x, fromY, x + 1, toY}, colour);
}

struct Bars {
    const MeterSettings& settings;
    const std::vector<ChannelLevel>& channels;
    int segments;     // S
    int markerAt;     // Z1: the first middle segment carries a marker line
    ColourValue pen;  // marker lines
    int count;        // bars drawn
};

bool marked(const Bars& bars, int j) {
    return bars.settings.markerStyle != 0 && (j == bars.markerAt || j == bars.segments - 1);
}

void paintVertical(QPainter& painter, const QRect& area, const Bars& bars) {
    const MeterSettings& s = bars.settings;
    const int width = area.width() / static_cast<int>(s.channelCount);
    const int height = area.height() / bars.segments;
    const int gx = s.channelCount > 1 ? 1 : 0;
    const int gy = s.segmentCount > 1 ? 1 : 0;
    const int bottom = area.top() + area.height();
    Cell cell{area.left(), bottom - height, area.left() + width, bottom};
    for (int i = 0; i < bars.count; ++i) {
        const ChannelLevel& channel = bars.channels[static_cast<std::size_t>(i)];
        const int lit = litSegments(s, channel.level);
        const Cell column = cell;
        for (int j = 0; j < bars.segments; ++j) {
            const Cell shrunk{cell.left + gx, cell.top + gy, cell.right - gx, cell.bottom};
            // The line goes first, so the fill covers it and only its ends in the gaps show.
            if (marked(bars, j)) {
                const int y = shrunk.top + (shrunk.bottom - shrunk.top) / 2;
                horizontalLine(painter, shrunk.left - gx, shrunk.right + gx, y, bars.pen);
            }
            fill(painter, shrunk, segmentColour(s, j, lit));
            cell.top -= height;
            cell.bottom -= height;
        }
        if (s.showPeak) {
            const auto rise = static_cast<std::int64_t>(channel.peak) * height * bars.segments;
            const int y = column.bottom - static_cast<int>(rise / s.fullScale);
            horizontalLine(painter, column.left + gx, column.right - gx, y,
                           darkenColour(s.backgroundColour, 60));
        }
        cell = {cell.left + width, cell.top + bars.segments * height, cell.right + width,
                cell.bottom + bars.segments * height};
    }
}

void paintHorizontal(QPainter& painter, const QRect& area, const Bars& bars) {
    const MeterSettings& s = bars.settings;
    const int width = area.width() / bars.segments;
    const int height = area.height() / static_cast<int>(s.channelCount);
    const int gx = s.segmentCount > 1 ? 1 : 0;
    const int gy = s.channelCount > 1 ? 1 : 0;
    // The rows sit at the bottom; the pixels left over stay at the top.
    const int top = area.top() + area.height() - static_cast<int>(s.channelCount) * height;
    Cell cell{area.left(), top, area.left() + width, top + height};
    for (int i = 0; i < bars.count; ++i) {
        const int lit = litSegments(s, bars.channels[static_cast<std::size_t>(i)].level);
        for (int j = 0; j < bars.segments; ++j) {
            const Cell shrunk{cell.left + gx, cell.top + gy, cell.right, cell.bottom - gy};
            if (marked(bars, j)) {
                const int x = shrunk.left + (shrunk.right - shrunk.left) / 2;
                verticalLine(painter, x, shrunk.top - gy, shrunk.bottom + gy, bars.pen);
            }
            fill(painter, shrunk, segmentColour(s, j, lit));
            cell.left += width;
            cell.right += width;
        }
        cell = {cell.left - bars.segments * width, cell.top + height,
                cell.right - bars.segments * width, cell.bottom + height};
    }
}

}  // namespace

void paintLevelMeter(QPainter& painter, const QRect& area, const LevelMeterState::Snapshot& meter,
                     bool horizontal) {
    const MeterSettings& s = meter.settings;
    fill(painter, {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()},
         s.backgroundColour);
    const int segments = effectiveSegments(s);
    // A full scale of 0 or a derived count below one segment leaves nothing to divide by.
    if (segments < 1 || s.fullScale == 0 || s.channelCount == 0)
        return;
    const int count =
        static_cast<int>(std::min<std::size_t>(s.channelCount, meter.channels.size()));
    const Bars bars{
        s,    meter.channels, segments, middleZoneStart(s), darkenColour(s.backgroundColour, 15),
        count};
    if (horizontal) {
        paintHorizontal(painter, area, bars);
    } else {
        paintVertical(painter, area, bars);
    }
}

}  // namespace q93
