#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "protocol/parameter_set.h"

namespace q93 {

enum class FieldType { Int32, Double };

// One named field of a stored block: where it lies, what it holds, how many in a row.
struct FieldInfo {
    const char* name;
    std::size_t offset;
    FieldType type;
    int count;
};

// Every field of the two blocks in offset order; reserved gaps are not listed.
std::span<const FieldInfo> presetFields();
std::span<const FieldInfo> deviceFields();

// One element of a field as describeBlock writes it: decimal, or a double's shortest exact form.
std::string formatFieldValue(const void* at, FieldType type);

// A field of a block as "name=value" lines (one per element for arrays, "name[i]=value"
// counted from 1); doubles in their shortest exact form.
std::string describeBlock(const void* block, std::span<const FieldInfo> fields);

}  // namespace q93
