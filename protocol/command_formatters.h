#pragma once

#include <cstdint>
#include <string>

namespace q93 {

// Which form a parameter command takes: without the preset byte (device settings) or with
// it (preset settings).
struct CommandForm {
    bool shortForm = false;
    std::uint8_t presetByte = 0;
};

// The command texts of parameter commands: 2d, a count of the bytes that follow, 4d 49,
// the id, the preset byte in the long form, an index, then the value. Values go as their
// low bytes; 32-bit values least significant byte first, 16-bit values and addresses most
// significant first. Indexed commands exist only in the long form.
std::string queryText(std::uint8_t id, CommandForm form);
std::string queryIndexedText(std::uint8_t id, std::uint8_t index, CommandForm form);
std::string memoryQueryText(std::uint32_t address);
std::string setByteText(std::uint8_t id, std::int32_t value, CommandForm form);
std::string set32Text(std::uint8_t id, std::uint32_t value, CommandForm form);
std::string setIndexed32Text(std::uint8_t id, std::uint8_t index, std::uint32_t value,
                             CommandForm form);
std::string setIndexed16Text(std::uint8_t id, std::uint8_t index, std::int32_t value,
                             CommandForm form);
// An interface register write such as "3b,04,%02x", with the value's low byte.
std::string registerWriteText(const char* format, std::int32_t value);

// The wire pattern of a real: narrowed to a 32-bit IEEE 754 float.
std::uint32_t floatBits(double value);

}  // namespace q93
