#pragma once

#include <string>
#include <vector>

#include "protocol/parameter_ranges.h"
#include "store/stored_blocks.h"

namespace q93 {

// One FIELD=VALUE of `q93ctl set`: a transferred field and its new value in stored units.
struct Assignment {
    const FieldRange* field = nullptr;
    double value = 0;
};

// What a set changes: the device block or presets, and the assignments for them.
struct SetChange {
    bool device = false;
    std::vector<int> presets;
    std::vector<Assignment> assignments;
};

// The FIELD=VALUE words for the device block (`device`) or a preset: each field must be a
// transferred field of that block, each value a finite number (a whole one for an integer
// field), each field named once. false with the usage message.
bool parseAssignments(const std::vector<std::string>& words, bool device,
                      std::vector<Assignment>& assignments, std::string* error);

// The new values that no page gives, judged without a sensitivity (any the Settings page
// allows), for the refusal before anything is read.
std::vector<RangeViolation> assignmentsOutOfRange(const std::vector<Assignment>& assignments);

// One field of one file that a set changes, or that differs between file and encoder.
struct FieldChange {
    std::string file;  // "Preset-2.dat", "device.dat"
    std::string field;
    std::string from;
    std::string to;
    std::string unit;  // the stored unit ("kHz", "dB"); empty for lists and switches

    // "Preset-2.dat pilotLevel 6.75 -> 6 kHz"
    std::string text() const;
};

// The blocks after the assignments, and the fields that differ from `before` as the wire
// carries them (a value the encoder already holds is no change).
EncoderBlocks applyChange(const SetChange& change, const EncoderBlocks& before,
                          std::vector<FieldChange>& changes);

// The transferred fields of the changed blocks where the encoder (`live`) differs from the
// stored files (`stored`): someone changed them outside the tool.
std::vector<FieldChange> driftOf(const SetChange& change, const EncoderBlocks& stored,
                                 const EncoderBlocks& live);

std::string presetFileName(int number);

// A field's value in a block as `q93ctl show` prints it, and the unit it is stored in (empty
// for lists and switches).
std::string fieldValueText(const void* block, const FieldRange& field);
std::string storedUnit(const FieldRange& field);

}  // namespace q93
