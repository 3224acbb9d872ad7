#pragma once

#include <cstdint>

namespace q93 {

// The three reserved bytes of a frame. The codec builds and un-stuffs frames with them and
// both links cut the received byte stream at them, so they live below all three.
inline constexpr std::uint8_t kStartByte = 0xFE;
inline constexpr std::uint8_t kEndByte = 0xFF;
inline constexpr std::uint8_t kEscapeByte = 0xFD;

}  // namespace q93
