#pragma once

#include <map>
#include <set>
#include <string>

#include "sim/parameter_table.h"

namespace q93::sim {

// How one encoder misbehaves on set commands, so that a tool's verify and roll-back can be
// tried against a real process: it acknowledges and answers every set as usual, but keeps
// the value it held for an ignored field, and stores at most the ceiling of a clamped one.
// Fields are the parameter table's names; both apply to every preset of the encoder.
struct WriteQuirks {
    std::set<std::string> ignored;
    std::map<std::string, double> ceilings;

    bool empty() const { return ignored.empty() && ceilings.empty(); }

    // After a set of `row` changed `record`: puts back `before` (the field's storage as it
    // was) for an ignored field, or the ceiling for a clamped field set above it. Returns
    // what it did for the log ("" when the set stands).
    std::string apply(const ParameterRow& row, void* record, const void* before) const;
};

// Bytes a field of the row takes in its record (an int32 or a double).
std::size_t fieldStorageSize(const ParameterRow& row);

// The table row named `name`; nullptr when none is.
const ParameterRow* findRowByName(const std::string& name);

// "[K:]FIELD" of --ignore-set and "[K:]FIELD=MAX" of --clamp; K is 1 without a prefix.
// False with the reason in *why.
bool parseIgnoreSet(const std::string& text, int& encoder, std::string& field, std::string* why);
bool parseClamp(const std::string& text, int& encoder, std::string& field, double& ceiling,
                std::string* why);

}  // namespace q93::sim
