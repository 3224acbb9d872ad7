#pragma once

#include <QColor>

#include "screen/display/colour_value.h"

namespace q93 {

inline QColor qColourOf(ColourValue colour) {
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

inline ColourValue colourValueOf(const QColor& colour) {
    return rgbColour(colour.red(), colour.green(), colour.blue());
}

}  // namespace q93
