#include "screen/display/chart_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace q93 {
namespace {

constexpr ColourValue kSeriesColours[] = {
    rgbColour(255, 0, 0),   rgbColour(255, 192, 192), rgbColour(255, 255, 0),
    rgbColour(255, 160, 0), rgbColour(160, 96, 0),    rgbColour(0, 255, 0),
    rgbColour(0, 160, 0),   rgbColour(0, 0, 255),     rgbColour(0, 160, 255),
    rgbColour(0, 255, 255), rgbColour(0, 160, 160),   rgbColour(192, 192, 255),
    rgbColour(255, 0, 255), rgbColour(160, 0, 160),   rgbColour(255, 255, 255),
};

// The label font is 6 pixels wide on average; the 4 are the sign, the point and a gap.
constexpr int kLabelCharWidth = 6;
constexpr int kLabelExtraChars = 4;

int boundDigits(double bound) {
    if (bound == 0.0 || !std::isfinite(bound))
        return 0;
    return static_cast<int>(std::fabs(std::trunc(std::log10(std::fabs(bound)))));
}

}  // namespace

ColourValue defaultSeriesColour(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kSeriesColours)))
        return rgbColour(255, 255, 255);
    return kSeriesColours[index];
}

std::vector<ChartSeries> defaultSeriesTable(int count) {
    std::vector<ChartSeries> table(static_cast<std::size_t>(std::max(0, count)));
    for (std::size_t k = 0; k < table.size(); ++k)
        table[k].colour = defaultSeriesColour(static_cast<int>(k));
    return table;
}

int rangeDigits(double min, double max) {
    return std::max(boundDigits(max), boundDigits(min));
}

int chartLeftMargin(double min, double max, int decimals) {
    return kLabelCharWidth * (rangeDigits(min, max) + decimals + kLabelExtraChars);
}

std::string fixedLabel(int decimals, double value) {
    char text[352];
    std::snprintf(text, sizeof text, "%.*lf", decimals, value);
    return text;
}

std::string derivedXMaxLabel(int sampleCount, int plotWidth, int pixelsPerSample) {
    if (sampleCount >= 0)
        return std::to_string(sampleCount - 1);
    return pixelsPerSample != 0 ? std::to_string(plotWidth / pixelsPerSample) : "0";
}

}  // namespace q93
