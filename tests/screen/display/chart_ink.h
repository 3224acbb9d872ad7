#pragma once

#include <gtest/gtest.h>

#include <QString>

#include "screen/display/chart_window.h"

namespace q93::test {

// The chart's texts, each at the place its rule gives from the plot rectangle: the y end
// labels right-aligned 4 pixels left of the plot (the top one by its top, the bottom one
// by its baseline), the x end labels 4 pixels under it aligned to its edges, the x title
// centred under it, the y title running upward, centred left of it.
enum class Label { YMax, YMin, XMin, XMax, XTitle, YTitle };

// The grid layer holds exactly the pixels of `text` written in the label font and the
// grid colour at the label's place, in and around the text's box.
::testing::AssertionResult showsLabel(const ChartWindow& chart, Label label, const QString& text);

}  // namespace q93::test
