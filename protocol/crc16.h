#pragma once

#include <cstddef>
#include <cstdint>

namespace q93 {

// CRC-16/GENIBUS: polynomial 0x1021, initial 0xFFFF, no reflection, final XOR 0xFFFF.
std::uint16_t crc16Genibus(const std::uint8_t* bytes, std::size_t length);

}  // namespace q93
