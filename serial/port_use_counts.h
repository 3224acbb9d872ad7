#pragma once

#include <cstdint>

namespace q93::serial {

// Process-wide count of port objects holding each port index, so that a second object on
// a held index is refused. Indices 0 to 100 have a counter (every index the serial link's
// port table can produce); no device is opened for any other index.
inline constexpr int kLastCountedPortIndex = 100;

bool isCountedPortIndex(int portIndex);
std::uint16_t portUseCount(int portIndex);
void incrementPortUse(int portIndex);
void decrementPortUse(int portIndex);

}  // namespace q93::serial
