#pragma once

#include <string>
#include <vector>

#include "screen/display/colour_value.h"

namespace q93 {

// One series of the chart: its colour and value range, and the pixels per unit that the
// plot height gives that range.
struct ChartSeries {
    ColourValue colour = rgbColour(255, 255, 255);
    double min = -10.0;
    double max = 10.0;
    double span = 20.0;
    double pixelsPerUnit = 0.0;
};

// The series table after construction: range -10 to 10, colours from the fixed table,
// white from series 15 on.
std::vector<ChartSeries> defaultSeriesTable(int count);
ColourValue defaultSeriesColour(int index);

// The digits a range needs left of the decimal point, as the left margin counts them: the
// larger |trunc(log10 |bound|)| of the two bounds, a bound of 0 counting 0.
int rangeDigits(double min, double max);
// The plot's left edge from the client's left edge: room for the numeric y labels.
int chartLeftMargin(double min, double max, int decimals);

// The y end labels when none are given: the bound with `decimals` places ("%.*lf").
std::string fixedLabel(int decimals, double value);
// The right x end label when none is given: the last sample number, or the plot width in
// samples when the count is derived from the width.
std::string derivedXMaxLabel(int sampleCount, int plotWidth, int pixelsPerSample);

}  // namespace q93
