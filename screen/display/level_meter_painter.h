#pragma once

#include <QPainter>
#include <QRect>

#include "screen/display/level_meter_state.h"

namespace q93 {

// Draws the meter over `area` (its window moved to the origin): the background, then the
// bars side by side with segments from the bottom up and a peak line, or with
// `horizontal` one below the other with segments from left to right and no peak line.
// Lines are drawn as one-pixel fills without their end point, as a pen line would be.
void paintLevelMeter(QPainter& painter, const QRect& area, const LevelMeterState::Snapshot& meter,
                     bool horizontal);

}  // namespace q93
