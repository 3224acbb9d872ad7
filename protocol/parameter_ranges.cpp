#include "protocol/parameter_ranges.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace q93 {
namespace {

using P = PresetParameters;
using D = DeviceParameters;

template <typename T>
constexpr FieldType typeOf() {
    return std::is_same_v<T, double> ? FieldType::Double : FieldType::Int32;
}

#define Q93_RANGE(Block, field, kind, low, high, unit)                                            \
    FieldRange {                                                                                  \
#field, offsetof(Block, field), typeOf < decltype(Block::field)>(), RangeKind::kind, low, \
            high, unit                                                                            \
    }

// The bounds the pages name beside each edit, the length of each page's list, 0 and 1 for
// the switches. The four deviations in kHz are bounded in dBu, as their pages give them, so
// their bounds in kHz move with the device's sensitivity.
constexpr FieldRange kPresetRanges[] = {
    Q93_RANGE(P, inputSource, List, 0, 3, "list index"),
    Q93_RANGE(P, inputLevel, Dbu, -18, 18, "dBu"),
    Q93_RANGE(P, aesSensitivity, Number, -20, 0, "dBFS"),
    Q93_RANGE(P, scaMode, List, 0, 3, "list index"),
    Q93_RANGE(P, sca1Gain, Number, -6, 6, "dB"),
    Q93_RANGE(P, sca2Gain, Number, -6, 6, "dB"),
    Q93_RANGE(P, mpxGain, Number, -6, 6, "dB"),
    Q93_RANGE(P, auxOutput, List, 0, 9, "list index"),
    Q93_RANGE(P, pilotStatus, List, 0, 2, "list index"),
    Q93_RANGE(P, pilotLevel, Dbu, -18, -6, "dBu"),
    Q93_RANGE(P, pilotPhase, Number, -5, 5, "degrees"),
    Q93_RANGE(P, peakLimiterOn, Switch, 0, 1, ""),
    Q93_RANGE(P, maxDeviation, Number, 20, 100, "kHz"),
    Q93_RANGE(P, powerLimiterOn, Switch, 0, 1, ""),
    Q93_RANGE(P, maxModulationOutput, Number, -6, 6, "dBr"),
    Q93_RANGE(P, operationMode, List, 0, 3, "list index"),
    Q93_RANGE(P, preemphasis, List, 0, 2, "list index"),
    Q93_RANGE(P, testMode, List, 0, 4, "list index"),
    Q93_RANGE(P, testTone, List, 1, 6, "list index plus 1"),
    Q93_RANGE(P, testToneLevel, Dbu, -18, 18, "dBu"),
    Q93_RANGE(P, headphoneLevel, Number, -60, 0, "dB"),
    Q93_RANGE(P, modChkSignaling, Switch, 0, 1, ""),
    Q93_RANGE(P, modChkDigitalOffTime, Number, 1, 600, "s"),
    Q93_RANGE(P, modChkDigitalOnTime, Number, 1, 600, "s"),
    Q93_RANGE(P, modChkDigitalLevel, Number, -50, 0, "dBFS"),
    Q93_RANGE(P, modChkAnalogOffTime, Number, 1, 600, "s"),
    Q93_RANGE(P, modChkAnalogOnTime, Number, 1, 600, "s"),
    Q93_RANGE(P, modChkAnalogLevel, Dbu, -34, -6, "dBu"),
};

constexpr FieldRange kDeviceRanges[] = {
    Q93_RANGE(D, sensitivity40k, Number, -18, 18, "dBu"),
    Q93_RANGE(D, levelUnit, Switch, 0, 1, ""),
    Q93_RANGE(D, language, Switch, 0, 1, ""),
    Q93_RANGE(D, activePreset, List, 0, 7, "list index"),
    Q93_RANGE(D, frontResponse, List, 0, 2, "list index"),
    Q93_RANGE(D, dte1Response, List, 0, 2, "list index"),
    Q93_RANGE(D, dte2Response, List, 0, 2, "list index"),
    Q93_RANGE(D, dte3Response, List, 0, 2, "list index"),
    Q93_RANGE(D, frontBaud, List, 0, 5, "list index"),
    Q93_RANGE(D, dte1Baud, List, 0, 5, "list index"),
    Q93_RANGE(D, dte2Baud, List, 0, 5, "list index"),
    Q93_RANGE(D, dte3Baud, List, 0, 5, "list index"),
};

#undef Q93_RANGE

constexpr const FieldRange& kSensitivityRange = kDeviceRanges[0];

std::string number(double value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string rangeText(const FieldRange& range, std::optional<double> sensitivity) {
    const std::string span = number(range.low) + " to " + number(range.high);
    switch (range.kind) {
        case RangeKind::List:
            return std::string(range.unit) + " " + span;
        case RangeKind::Switch:
            return "0 or 1";
        case RangeKind::Number:
            return span + " " + range.unit;
        case RangeKind::Dbu:
            break;
    }
    const std::string at = sensitivity ? "a sensitivity of " + number(*sensitivity)
                                       : "a sensitivity of " + number(kSensitivityRange.low) +
                                             " to " + number(kSensitivityRange.high);
    return "kHz that show as " + span + " dBu at " + at + " dBu";
}

// The level as the page shows it, one decimal. Without a known sensitivity the level is in
// range when some sensitivity the Settings page allows shows it within the bounds.
bool dbuInRange(double kHz, const FieldRange& range, std::optional<double> sensitivity) {
    if (!(kHz > 0) || !std::isfinite(kHz))
        return false;
    const double relative = 20 * std::log10(kHz / 40);
    auto shown = [relative](double at) { return std::round((at + relative) * 10) / 10; };
    if (sensitivity)
        return shown(*sensitivity) >= range.low && shown(*sensitivity) <= range.high;
    return shown(kSensitivityRange.high) >= range.low && shown(kSensitivityRange.low) <= range.high;
}

bool inRange(double value, const FieldRange& range, std::optional<double> sensitivity) {
    switch (range.kind) {
        case RangeKind::Dbu:
            return dbuInRange(value, range, sensitivity);
        default:
            return std::isfinite(value) && value >= range.low && value <= range.high;
    }
}

std::vector<RangeViolation> outOfRange(const void* block, std::span<const FieldRange> ranges,
                                       std::optional<double> sensitivity) {
    std::vector<RangeViolation> found;
    for (const FieldRange& range : ranges) {
        if (inRange(fieldValue(block, range), range, sensitivity))
            continue;
        const auto* at = static_cast<const unsigned char*>(block) + range.offset;
        found.push_back({range.name, formatFieldValue(at, range.type),
                         rangeText(range, sensitivity), &range, fieldValue(block, range),
                         range.kind == RangeKind::Dbu ? sensitivity : std::nullopt});
    }
    return found;
}

}  // namespace

double fieldValue(const void* block, const FieldRange& range) {
    const auto* at = static_cast<const unsigned char*>(block) + range.offset;
    if (range.type == FieldType::Int32) {
        std::int32_t value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    double value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void setFieldValue(void* block, const FieldRange& range, double value) {
    auto* at = static_cast<unsigned char*>(block) + range.offset;
    if (range.type == FieldType::Int32) {
        const auto integer = static_cast<std::int32_t>(value);
        std::memcpy(at, &integer, sizeof integer);
    } else {
        std::memcpy(at, &value, sizeof value);
    }
}

std::span<const FieldRange> presetRanges() {
    return kPresetRanges;
}

std::span<const FieldRange> deviceRanges() {
    return kDeviceRanges;
}

std::vector<RangeViolation> presetOutOfRange(const PresetParameters& preset,
                                             std::optional<double> sensitivity40k) {
    return outOfRange(&preset, kPresetRanges, sensitivity40k);
}

std::vector<RangeViolation> deviceOutOfRange(const DeviceParameters& device) {
    return outOfRange(&device, kDeviceRanges, std::nullopt);
}

std::optional<double> usableSensitivity(const DeviceParameters& device) {
    if (!inRange(device.sensitivity40k, kSensitivityRange, std::nullopt))
        return std::nullopt;
    return device.sensitivity40k;
}

}  // namespace q93
