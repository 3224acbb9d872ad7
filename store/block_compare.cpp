#include "store/block_compare.h"

#include <charconv>
#include <span>

#include "protocol/deviation_units.h"
#include "protocol/device_transfer.h"
#include "protocol/number_format.h"
#include "protocol/parameter_ranges.h"
#include "protocol/preset_transfer.h"
#include "store/location_store.h"

namespace q93 {
namespace {

enum class Shown { Number, Level, LevelInDbu };

// How the pages show a field, where it is more than a plain number: the unit beside it, and
// whether it is a deviation converted to the device's unit (the Mod Check threshold always
// in dBu).
struct FieldLook {
    const char* field;
    Shown shown;
    const char* unit;
};

constexpr FieldLook kLooks[] = {
    {"inputLevel", Shown::Level, ""},
    {"pilotLevel", Shown::Level, ""},
    {"testToneLevel", Shown::Level, ""},
    {"modChkAnalogLevel", Shown::LevelInDbu, "dBu"},
    {"aesSensitivity", Shown::Number, "dBFS"},
    {"sca1Gain", Shown::Number, "dB"},
    {"sca2Gain", Shown::Number, "dB"},
    {"mpxGain", Shown::Number, "dB"},
    {"pilotPhase", Shown::Number, "\xC2\xB0"},
    {"maxDeviation", Shown::Number, "kHz"},
    {"maxModulationOutput", Shown::Number, "dBr"},
    {"headphoneLevel", Shown::Number, "dB"},
    {"modChkDigitalLevel", Shown::Number, "dBFS"},
    {"modChkDigitalOffTime", Shown::Number, "s"},
    {"modChkDigitalOnTime", Shown::Number, "s"},
    {"modChkAnalogOffTime", Shown::Number, "s"},
    {"modChkAnalogOnTime", Shown::Number, "s"},
    {"sensitivity40k", Shown::Number, "dBu"},
};

FieldLook lookOf(const std::string& field) {
    for (const FieldLook& look : kLooks) {
        if (field == look.field)
            return look;
    }
    return {"", Shown::Number, ""};
}

double shownValue(double value, const FieldLook& look, const DeviceParameters& units) {
    if (look.shown == Shown::Number)
        return value;
    DeviceParameters shownIn{};
    shownIn.levelUnit = look.shown == Shown::LevelInDbu ? 1 : units.levelUnit;
    shownIn.sensitivity40k = units.sensitivity40k;
    return DeviationToDisplay(shownIn, value);
}

std::string shortest(float value) {
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return std::string(text, ec == std::errc{} ? end : text);
}

// The name of the field a read step fills, from the range table, which holds every
// transferred field with its offset.
template <typename Block>
std::string fieldName(const steps::ReadStep<Block>& step, std::span<const FieldRange> ranges) {
    static const Block block{};
    const char* at = step.real != nullptr ? reinterpret_cast<const char*>(&(block.*step.real))
                                          : reinterpret_cast<const char*>(&(block.*step.integer));
    const auto offset = static_cast<std::size_t>(at - reinterpret_cast<const char*>(&block));
    for (const FieldRange& range : ranges) {
        if (range.offset == offset)
            return range.name;
    }
    return "?";
}

template <typename Block>
void compareSteps(const std::string& file, std::span<const steps::ReadStep<Block>> table,
                  std::span<const FieldRange> ranges, const Block& stored, const Block& encoder,
                  const DeviceParameters& units, std::vector<FieldDifference>& out) {
    for (const auto& step : table) {
        const std::string field = fieldName(step, ranges);
        const FieldLook look = lookOf(field);
        if (step.real == nullptr) {
            const std::int32_t a = stored.*step.integer, b = encoder.*step.integer;
            if (a != b)
                out.push_back({file, field, std::to_string(a), std::to_string(b), look.unit});
            continue;
        }
        const float a = static_cast<float>(stored.*step.real);
        const float b = static_cast<float>(encoder.*step.real);
        if (a == b || (a != a && b != b))
            continue;
        const double shownA = shownValue(a, look, units), shownB = shownValue(b, look, units);
        FieldDifference difference{file, field, FormatFixed(shownA, 1), FormatFixed(shownB, 1),
                                   look.unit};
        if (look.shown == Shown::Level)
            difference.unit = units.levelUnit != 0 ? "dBu" : "kHz";
        // Apart by less than the page shows: then the digits that tell them apart.
        if (difference.stored == difference.encoder) {
            difference.stored = shortest(static_cast<float>(shownA));
            difference.encoder = shortest(static_cast<float>(shownB));
        }
        out.push_back(difference);
    }
}

}  // namespace

std::vector<FieldDifference> compareDevice(const DeviceParameters& stored,
                                           const DeviceParameters& encoder,
                                           const DeviceParameters& units) {
    std::vector<FieldDifference> out;
    compareSteps<DeviceParameters>(kDeviceFileName, deviceReadSteps(), deviceRanges(), stored,
                                   encoder, units, out);
    return out;
}

std::vector<FieldDifference> comparePreset(int number, const PresetParameters& stored,
                                           const PresetParameters& encoder,
                                           const DeviceParameters& units) {
    std::vector<FieldDifference> out;
    compareSteps<PresetParameters>(presetFileName(presetLabel(number)), presetReadSteps(),
                                   presetRanges(), stored, encoder, units, out);
    return out;
}

}  // namespace q93
