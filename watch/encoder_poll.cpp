#include "watch/encoder_poll.h"

#include <ctime>
#include <functional>
#include <thread>

#include "protocol/clock_transfer.h"
#include "protocol/device_connection.h"
#include "protocol/device_transfer.h"
#include "protocol/level_query.h"
#include "protocol/transfer_steps.h"
#include "watch/clock_offset.h"
#include "watch/encoder_exchanges.h"

namespace q93::watch {
namespace {

timespec realNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

double secondsOf(const timespec& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) / 1e9;
}

bool readClock(EncoderExchanges& poll, EncoderHealth& health) {
    ClockValues clock;
    timespec answeredAt{};
    const bool read = poll.exchange("read clock", [&](DeviceConnection& connection) {
        const int result = ReadRtc(connection, clock);
        answeredAt = realNow();
        return result;
    });
    if (read)
        health.clockOffsetSeconds = clockOffsetSeconds(clock, answeredAt);
    return read;
}

bool readStatus(EncoderExchanges& poll, EncoderHealth& health) {
    const auto table = statusReadSteps();
    for (std::size_t row = 0; row < table.size(); ++row) {
        const bool read = poll.framed(
            "read status " + std::to_string(row + 1), [&](DeviceConnection& connection) {
                return steps::runReadSteps(connection, table.subspan(row, 1), health.status);
            });
        if (!read)
            return false;
    }
    return true;
}

bool readLevels(EncoderExchanges& poll, EncoderHealth& health) {
    LevelReadings readings;
    for (int selector = 0; selector < 2; ++selector) {
        const bool read = poll.framed("level query " + std::to_string(selector),
                                      [selector, &readings](DeviceConnection& connection) {
                                          return QueryLevels(connection, selector, readings) == 0;
                                      });
        if (!read)
            return false;
    }
    for (std::size_t i = 0; i < health.levelSet0.size(); ++i)
        health.levelSet0[i] = readings.levelSet0[i].load();
    for (std::size_t i = 0; i < health.levelSet1.size(); ++i)
        health.levelSet1[i] = readings.levelSet1[i].load();
    return true;
}

}  // namespace

EncoderHealth pollEncoder(const std::string& encoderFolder, std::chrono::milliseconds lockWait,
                          const std::function<bool()>& stopping) {
    const timespec started = realNow();
    EncoderHealth health;
    {
        EncoderExchanges poll(encoderFolder, lockWait, stopping);
        health.up = readClock(poll, health) && readStatus(poll, health) && readLevels(poll, health);
        health.link = poll.link();
        health.failure = poll.failure();
    }
    const timespec finished = realNow();
    health.finishedAt = secondsOf(finished);
    health.pollSeconds = secondsOf(finished) - secondsOf(started);
    return health;
}

}  // namespace q93::watch
