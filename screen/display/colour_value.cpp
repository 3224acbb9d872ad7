#include "screen/display/colour_value.h"

#include <algorithm>

namespace q93 {

ColourValue darkenColour(ColourValue colour, int amount) {
    const auto less = [amount](int component) { return std::clamp(component - amount, 0, 255); };
    return rgbColour(less(redOf(colour)), less(greenOf(colour)), less(blueOf(colour)));
}

}  // namespace q93
