#include "protocol/deviation_units.h"

#include <cmath>
#include <string_view>

#include "base/string_table.h"
#include "protocol/number_format.h"
#include "protocol/parameter_set.h"

namespace q93 {

thread_local double deviationAtPlus18dBu = 0;
thread_local double deviationAtMinus6dBu = 0;
thread_local double deviationAtMinus18dBu = 0;

namespace {

// Linear level per kHz of deviation.
double levelPerKHz(const DeviceParameters& device) {
    return 0.025 * std::pow(10.0, 0.05 * device.sensitivity40k);
}

bool showsDbu(const DeviceParameters& device) {
    return device.levelUnit != 0;
}

}  // namespace

double DeviationToDisplay(const DeviceParameters& device, double deviation) {
    const double s = levelPerKHz(device);
    if (s == 0) {
        return 0;
    }
    deviationAtPlus18dBu = std::pow(10.0, 0.9) / s;
    deviationAtMinus6dBu = std::pow(10.0, -0.3) / s;
    deviationAtMinus18dBu = std::pow(10.0, -0.9) / s;
    if (!showsDbu(device)) {
        return deviation;
    }
    const double y = s * deviation;
    // A negative deviation has no level; it shows as 0 like no deviation at all rather
    // than as "nan".
    if (y <= 0) {
        return 0;
    }
    return 20 * std::log10(y);
}

double DisplayToDeviation(const DeviceParameters& device, double display) {
    if (!showsDbu(device)) {
        return display;
    }
    return std::pow(10.0, 0.05 * display) / levelPerKHz(device);
}

std::string FormatOneDecimalPattern(const char* pattern, double first, double second) {
    constexpr std::string_view kPlaceholder = "%.1f";
    std::string text(pattern);
    const double values[] = {first, second};
    std::size_t from = 0;
    for (double value : values) {
        const std::size_t at = text.find(kPlaceholder, from);
        if (at == std::string::npos) {
            break;
        }
        const std::string number = FormatFixed(value, 1);
        text.replace(at, kPlaceholder.size(), number);
        from = at + number.size();
    }
    return text;
}

std::string DeviationUnitText(const DeviceParameters& device, double lowKHz, double highKHz,
                              int dbuStringId) {
    if (showsDbu(device)) {
        return LoadResString(dbuStringId);
    }
    return FormatOneDecimalPattern(LoadResString(109), lowKHz, highKHz);
}

}  // namespace q93
