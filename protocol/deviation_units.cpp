#include "protocol/deviation_units.h"

#include <cmath>
#include <string_view>

#include "base/string_table.h"
#include "protocol/number_format.h"
#include "protocol/parameter_set.h"

namespace q93 {

double deviationAtPlus18dBu = 0;
double deviationAtMinus6dBu = 0;
double deviationAtMinus18dBu = 0;

namespace {

// Linear level per kHz of deviation.
double levelPerKHz() {
    return 0.025 * std::pow(10.0, 0.05 * parameterSet().device.sensitivity40k);
}

bool showsDbu() {
    return parameterSet().device.levelUnit != 0;
}

}  // namespace

double DeviationToDisplay(double deviation) {
    const double s = levelPerKHz();
    if (s == 0) {
        return 0;
    }
    deviationAtPlus18dBu = std::pow(10.0, 0.9) / s;
    deviationAtMinus6dBu = std::pow(10.0, -0.3) / s;
    deviationAtMinus18dBu = std::pow(10.0, -0.9) / s;
    if (!showsDbu()) {
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

double DisplayToDeviation(double display) {
    if (!showsDbu()) {
        return display;
    }
    return std::pow(10.0, 0.05 * display) / levelPerKHz();
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

std::string DeviationUnitText(double lowKHz, double highKHz, int dbuStringId) {
    if (showsDbu()) {
        return LoadResString(dbuStringId);
    }
    return FormatOneDecimalPattern(LoadResString(109), lowKHz, highKHz);
}

}  // namespace q93
