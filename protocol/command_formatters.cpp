#include "protocol/command_formatters.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

namespace q93 {
namespace {

std::string format(const char* pattern, ...) {
    char text[128];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

// Printed as a byte: a negative or wide value would otherwise print as eight digits, which
// the tokeniser reads as 0xFFFFFFFF and takes for the end of the payload.
unsigned lowByte(std::uint32_t value) {
    return value & 0xFFu;
}
unsigned byteOf(std::uint32_t value, int shift) {
    return (value >> shift) & 0xFFu;
}

}  // namespace

std::string queryText(std::uint8_t id, CommandForm form) {
    if (form.shortForm)
        return format("2d,03,4d,49,%02x", id);
    return format("2d,04,4d,49,%02x,%02x", id, form.presetByte);
}

std::string queryIndexedText(std::uint8_t id, std::uint8_t index, CommandForm form) {
    return format("2d,05,4d,49,%02x,%02x,%02x", id, form.presetByte, index);
}

std::string memoryQueryText(std::uint32_t address) {
    return format("2d,07,4d,49,02,%02x,%02x,%02x,%02x", byteOf(address, 24), byteOf(address, 16),
                  byteOf(address, 8), byteOf(address, 0));
}

std::string setByteText(std::uint8_t id, std::int32_t value, CommandForm form) {
    const unsigned v = lowByte(static_cast<std::uint32_t>(value));
    if (form.shortForm)
        return format("2d,04,4d,49,%02x,%02x", id, v);
    return format("2d,05,4d,49,%02x,%02x,%02x", id, form.presetByte, v);
}

std::string set32Text(std::uint8_t id, std::uint32_t value, CommandForm form) {
    const unsigned b0 = byteOf(value, 0), b1 = byteOf(value, 8), b2 = byteOf(value, 16),
                   b3 = byteOf(value, 24);
    if (form.shortForm)
        return format("2d,07,4d,49,%02x,%02x,%02x,%02x,%02x", id, b0, b1, b2, b3);
    return format("2d,08,4d,49,%02x,%02x,%02x,%02x,%02x,%02x", id, form.presetByte, b0, b1, b2, b3);
}

std::string setIndexed32Text(std::uint8_t id, std::uint8_t index, std::uint32_t value,
                             CommandForm form) {
    return format("2d,09,4d,49,%02x,%02x,%02x,%02x,%02x,%02x,%02x", id, form.presetByte, index,
                  byteOf(value, 0), byteOf(value, 8), byteOf(value, 16), byteOf(value, 24));
}

std::string setIndexed16Text(std::uint8_t id, std::uint8_t index, std::int32_t value,
                             CommandForm form) {
    const auto v = static_cast<std::uint32_t>(value);
    return format("2d,07,4d,49,%02x,%02x,%02x,%02x,%02x", id, form.presetByte, index, byteOf(v, 8),
                  byteOf(v, 0));
}

std::string registerWriteText(const char* pattern, std::int32_t value) {
    return format(pattern, lowByte(static_cast<std::uint32_t>(value)));
}

std::uint32_t floatBits(double value) {
    // A file can hold any double; one beyond the float range goes as the largest float of
    // its sign rather than through an undefined conversion.
    constexpr double kLargest = std::numeric_limits<float>::max();
    if (std::isfinite(value))
        value = std::clamp(value, -kLargest, kLargest);
    return std::bit_cast<std::uint32_t>(static_cast<float>(value));
}

}  // namespace q93
