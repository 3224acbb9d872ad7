#include "protocol/level_query.h"

#include <bit>
#include <cstdint>

#include "protocol/parameter_set.h"

namespace q93 {
namespace {

// The readings follow the repeated request head, from offset 10, four bytes each.
constexpr int kFirstReading = 10;

template <std::size_t N>
void storeReadings(const FrameCodec& codec, std::array<std::atomic<double>, N>& readings) {
    for (std::size_t i = 0; i < N; ++i) {
        const int at = kFirstReading + 4 * static_cast<int>(i);
        std::uint32_t bits = 0;
        for (int b = 3; b >= 0; --b)
            bits = bits << 8 | codec.answerByte(at + b);
        readings[i].store(std::bit_cast<float>(bits));
    }
}

template <std::size_t N>
constexpr int answerLength() {
    return kFirstReading + 4 * static_cast<int>(N) + 3;
}

}  // namespace

int QueryLevels(DeviceConnection& connection, int selector) {
    LevelReadings& levels = parameterSet().levels;
    connection.shortForm = 1;
    connection.commandText = selector == 0 ? "2d,03,4d,49,20" : "2d,03,4d,49,21";
    if (connection.Transact(connection.commandText) != 0)
        return -1;
    const int needed = selector == 0 ? answerLength<2>() : answerLength<6>();
    connection.answerError = 0;
    if (!connection.receiveAnswer(needed)) {
        // Whatever the buffer holds now is the acknowledgement or an older answer.
        connection.answerError = -1;
        return -1;
    }
    if (selector == 0) {
        storeReadings(connection.codec(), levels.levelSet0);
    } else {
        storeReadings(connection.codec(), levels.levelSet1);
    }
    return 0;
}

}  // namespace q93
