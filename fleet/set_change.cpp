#include "fleet/set_change.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "protocol/parameter_fields.h"
#include "protocol/read_back.h"

namespace q93 {
namespace {

const FieldRange* findField(std::span<const FieldRange> ranges, const std::string& name) {
    for (const FieldRange& range : ranges)
        if (name == range.name)
            return &range;
    return nullptr;
}

bool parseValue(const std::string& text, const FieldRange& field, double& value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value))
        return false;
    return field.type == FieldType::Double ||
           (value == std::floor(value) && value >= INT32_MIN && value <= INT32_MAX);
}

// The assignments to one block and what they change in it.
template <typename Block>
void applyTo(const std::vector<Assignment>& assignments, const std::string& file,
             const Block& before, Block& after, std::vector<FieldChange>& changes) {
    for (const Assignment& assignment : assignments)
        setFieldValue(&after, *assignment.field, assignment.value);
    const std::vector<FieldNotHeld> differ = [&] {
        if constexpr (std::is_same_v<Block, PresetParameters>)
            return presetFieldsNotHeld(after, before);
        else
            return deviceFieldsNotHeld(after, before);
    }();
    for (const Assignment& assignment : assignments) {
        for (const FieldNotHeld& field : differ) {
            if (field.field == assignment.field->name)
                changes.push_back({file, field.field, fieldValueText(&before, *assignment.field),
                                   fieldValueText(&after, *assignment.field),
                                   storedUnit(*assignment.field)});
        }
    }
}

}  // namespace

std::string fieldValueText(const void* block, const FieldRange& field) {
    return formatFieldValue(static_cast<const unsigned char*>(block) + field.offset, field.type);
}

std::string storedUnit(const FieldRange& field) {
    switch (field.kind) {
        case RangeKind::Number:
            return field.unit;
        case RangeKind::Dbu:
            return "kHz";  // kept as a deviation, whatever the page shows
        default:
            return {};
    }
}

std::string FieldChange::text() const {
    return file + " " + field + " " + from + " -> " + to + (unit.empty() ? "" : " " + unit);
}

std::string presetFileName(int number) {
    return "Preset-" + std::to_string(number) + ".dat";
}

bool parseAssignments(const std::vector<std::string>& words, bool device,
                      std::vector<Assignment>& assignments, std::string* error) {
    const char* block = device ? "the device settings" : "a preset";
    for (const std::string& word : words) {
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const FieldRange* field = findField(device ? deviceRanges() : presetRanges(), name);
        if (field == nullptr) {
            const bool other = findField(device ? presetRanges() : deviceRanges(), name);
            return *error = "'" + name + "' is " + (other ? "not a field of " : "no field of ") +
                            block + " that is sent (q93ctl show FILE names them)",
                   false;
        }
        for (const Assignment& earlier : assignments)
            if (earlier.field == field)
                return *error = "'" + name + "' is given twice", false;
        Assignment assignment{field, 0};
        if (!parseValue(word.substr(equals + 1), *field, assignment.value)) {
            return *error = "'" + word + "': " + name + " takes " +
                            (field->type == FieldType::Int32 ? "a whole number" : "a number"),
                   false;
        }
        assignments.push_back(assignment);
    }
    if (assignments.empty())
        return *error = "give at least one FIELD=VALUE", false;
    return true;
}

std::vector<RangeViolation> assignmentsOutOfRange(const std::vector<Assignment>& assignments) {
    std::vector<RangeViolation> found;
    for (const Assignment& assignment : assignments) {
        // A block that holds the value alone is judged as the field's block would be.
        PresetParameters preset;
        DeviceParameters device;
        void* block = &preset;
        for (const FieldRange& range : deviceRanges())
            if (&range == assignment.field)
                block = &device;
        setFieldValue(block, *assignment.field, assignment.value);
        const auto all =
            block == &device ? deviceOutOfRange(device) : presetOutOfRange(preset, std::nullopt);
        for (const RangeViolation& violation : all)
            if (violation.bounds == assignment.field)
                found.push_back(violation);
    }
    return found;
}

EncoderBlocks applyChange(const SetChange& change, const EncoderBlocks& before,
                          std::vector<FieldChange>& changes) {
    EncoderBlocks after = before;
    if (change.device)
        applyTo(change.assignments, "device.dat", before.device, after.device, changes);
    for (int n : change.presets) {
        applyTo(change.assignments, presetFileName(n), before.presets[n - 1], after.presets[n - 1],
                changes);
    }
    return after;
}

std::vector<FieldChange> driftOf(const SetChange& change, const EncoderBlocks& stored,
                                 const EncoderBlocks& live) {
    std::vector<FieldChange> drift;
    const auto add = [&drift](const std::string& file, const std::vector<FieldNotHeld>& fields) {
        for (const FieldNotHeld& field : fields)
            drift.push_back({file, field.field, field.sent, field.held, {}});
    };
    if (change.device)
        add("device.dat", deviceFieldsNotHeld(stored.device, live.device));
    for (int n : change.presets)
        add(presetFileName(n), presetFieldsNotHeld(stored.presets[n - 1], live.presets[n - 1]));
    return drift;
}

}  // namespace q93
