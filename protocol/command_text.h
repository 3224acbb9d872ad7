#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace q93 {

// A command text and its expansion are cut to this many characters.
inline constexpr std::size_t kMaxCommandText = 1023;
// The length byte of a frame holds the payload length, so no payload is longer.
inline constexpr std::size_t kMaxPayload = 255;

// Replaces every character between double quotes by "%x," of its code (sign-extended above
// 0x7F, as a char is signed here) and drops the quotes, and a comma right after a quote.
std::string expandCommandText(std::string_view text);

// The payload of an expanded text: the low byte of each comma-separated hexadecimal token,
// up to the first token that is not a number or reads as 0xFFFFFFFF, at most kMaxPayload.
std::vector<std::uint8_t> tokenisePayload(std::string_view expanded);

// Both steps: the payload bytes of a command text as the frame builder takes them.
std::vector<std::uint8_t> commandPayload(std::string_view text);

}  // namespace q93
