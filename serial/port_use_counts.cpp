#include "serial/port_use_counts.h"

#include <array>
#include <atomic>

namespace q93::serial {
namespace {

// Atomic only so that a port opened on the measurement thread does not trip the thread
// sanitizer; the check-then-take order of opening is unchanged.
std::array<std::atomic<std::uint16_t>, kLastCountedPortIndex + 1> useCounts{};

}  // namespace

bool isCountedPortIndex(int portIndex) {
    return portIndex >= 0 && portIndex <= kLastCountedPortIndex;
}

std::uint16_t portUseCount(int portIndex) {
    return isCountedPortIndex(portIndex) ? useCounts[portIndex].load() : std::uint16_t{0};
}

void incrementPortUse(int portIndex) {
    if (isCountedPortIndex(portIndex))
        ++useCounts[portIndex];
}

void decrementPortUse(int portIndex) {
    if (isCountedPortIndex(portIndex) && useCounts[portIndex].load() > 0)
        --useCounts[portIndex];
}

}  // namespace q93::serial
