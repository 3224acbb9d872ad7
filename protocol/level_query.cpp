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

constexpr std::uint8_t kParameterCode = 0x2D;
constexpr std::uint8_t kLevelSet0Id = 0x20;
constexpr std::uint8_t kLevelSet1Id = 0x21;
// The answer itself, or the acknowledgement a late answer pushed in front of it.
constexpr int kAnswerTakes = 2;

// The answer repeats the request head: 0x2D at offset 5 and the set's id at offset 9.
bool isLevelAnswer(const FrameCodec& codec, std::uint8_t id, int length) {
    return codec.wireLength() >= length && codec.answerByte(5) == kParameterCode &&
           codec.answerByte(9) == id;
}

}  // namespace

int QueryLevels(DeviceConnection& connection, int selector, LevelReadings& levels) {
    const std::uint8_t id = selector == 0 ? kLevelSet0Id : kLevelSet1Id;
    connection.shortForm = 1;
    connection.commandText = selector == 0 ? "2d,03,4d,49,20" : "2d,03,4d,49,21";
    connection.discardPendingAnswers();
    if (connection.Transact(connection.commandText) != 0)
        return -1;
    const int needed = selector == 0 ? answerLength<2>() : answerLength<6>();
    connection.answerError = 0;
    for (int take = 0; take < kAnswerTakes; ++take) {
        // Without a frame the buffer holds the acknowledgement or an older answer.
        if (!connection.receiveAnswer(0))
            break;
        if (!isLevelAnswer(connection.codec(), id, needed))
            continue;
        if (selector == 0) {
            storeReadings(connection.codec(), levels.levelSet0);
        } else {
            storeReadings(connection.codec(), levels.levelSet1);
        }
        return 0;
    }
    connection.answerError = -1;
    return -1;
}

}  // namespace q93
