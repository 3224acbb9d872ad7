#pragma once

#include <cstdint>

namespace q93 {

// A colour as the drawing code of the meter and the chart keeps it: 0x00BBGGRR, red in the
// low byte.
using ColourValue = std::uint32_t;

constexpr ColourValue rgbColour(int red, int green, int blue) {
    return static_cast<ColourValue>(red & 0xFF) | static_cast<ColourValue>(green & 0xFF) << 8 |
           static_cast<ColourValue>(blue & 0xFF) << 16;
}
constexpr int redOf(ColourValue colour) {
    return static_cast<int>(colour & 0xFF);
}
constexpr int greenOf(ColourValue colour) {
    return static_cast<int>(colour >> 8 & 0xFF);
}
constexpr int blueOf(ColourValue colour) {
    return static_cast<int>(colour >> 16 & 0xFF);
}

// The colour with `amount` taken off red, green and blue, each stopping at 0; the top byte
// becomes 0.
ColourValue darkenColour(ColourValue colour, int amount);

}  // namespace q93
