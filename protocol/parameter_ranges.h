#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "protocol/parameter_fields.h"
#include "protocol/parameter_set.h"

namespace q93 {

// How the pages bound a transferred field.
enum class RangeKind {
    List,    // the index of a page's list entry: low..high
    Switch,  // 0 or 1
    Number,  // a real from low to high, in unit
    Dbu,     // a kHz deviation the page shows in dBu at the device's sensitivity: low..high dBu
};

// One transferred field and the values the desktop tool's pages can give it.
struct FieldRange {
    const char* name;
    std::size_t offset;
    FieldType type;
    RangeKind kind;
    double low;
    double high;
    const char* unit;
};

// The value of a field of a block (one of the two parameter blocks) as a double.
double fieldValue(const void* block, const FieldRange& range);
// Sets that field to `value` (a whole field takes its integer part).
void setFieldValue(void* block, const FieldRange& range, double value);

// Every transferred field of the two blocks, in the order of the transfer tables.
std::span<const FieldRange> presetRanges();
std::span<const FieldRange> deviceRanges();

// A field outside its range, in words: "frontBaud=175 (list index 0 to 5)"; and as numbers,
// for a caller that words it in other units or another language.
struct RangeViolation {
    std::string field;
    std::string value;
    std::string range;
    const FieldRange* bounds = nullptr;
    double number = 0;                     // the field's value
    std::optional<double> sensitivity40k;  // where a level was judged at one

    std::string text() const { return field + "=" + value + " (" + range + ")"; }
};

// The fields of a preset out of range. The dBu levels are judged at `sensitivity40k` when
// the encoder's device settings are known, else at any sensitivity the Settings page allows.
std::vector<RangeViolation> presetOutOfRange(const PresetParameters& preset,
                                             std::optional<double> sensitivity40k);
std::vector<RangeViolation> deviceOutOfRange(const DeviceParameters& device);

// The device's sensitivity when it is itself in range, for judging its presets' levels.
std::optional<double> usableSensitivity(const DeviceParameters& device);

}  // namespace q93
