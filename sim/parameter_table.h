#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace q93::sim {

// Which record a parameter lives in.
enum class Scope { Preset, Device };
// How its value travels: one byte, a 32-bit float (LE), a 16-bit word (BE).
enum class Wire { Byte, Float, Word };

// One row of the protocol's parameter list: the ids the tool reads and writes it with, its
// wire form, its index for the indexed groups (0x42/0x32, 0xD1/0xD0, 0xD3/0xD2), and the
// field's offset in PresetParameters or DeviceParameters (an int32 for byte and word, a
// double for float).
struct ParameterRow {
    const char* name;
    std::uint8_t readId;
    std::uint8_t writeId;
    Wire wire;
    int index;  // -1 when the commands carry no index
    Scope scope;
    std::size_t offset;
};

std::span<const ParameterRow> parameterTable();

// The row a query id (or a set id) and index select; nullptr when none does. Pass index -1
// for the ids that carry no index.
const ParameterRow* findReadRow(std::uint8_t id, int index);
const ParameterRow* findWriteRow(std::uint8_t id, int index);
// Whether commands with this id carry an index byte.
bool readIdIsIndexed(std::uint8_t id);
bool writeIdIsIndexed(std::uint8_t id);
bool isReadId(std::uint8_t id);
bool isWriteId(std::uint8_t id);

// Bytes the value of a field takes on the wire.
int wireSize(Wire wire);
// The field of a record as wire bytes, and back from wire bytes into the record.
std::vector<std::uint8_t> encodeField(const void* record, const ParameterRow& row);
void decodeField(void* record, const ParameterRow& row, const std::uint8_t* bytes);

}  // namespace q93::sim
