#include "screen/display/level_poll.h"

#include <chrono>
#include <cmath>
#include <thread>

#include "protocol/device_connection.h"
#include "protocol/level_query.h"

namespace q93 {
namespace {

constexpr auto kPollPause = std::chrono::milliseconds(100);
// The pause is slept in slices so that Stop and Abbruch need not wait it out.
constexpr auto kPauseSlice = std::chrono::milliseconds(5);

void pauseWhileRunning(const std::atomic<std::int32_t>& running) {
    const auto end = std::chrono::steady_clock::now() + kPollPause;
    while (running.load() == 1 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(kPauseSlice);
}

}  // namespace

std::int32_t meterValueForDeviation(double kHz) {
    if (!(kHz > 0.0))
        return 0;
    const double value = std::round(kHz * kMeterFullScale / kChartFullScaleKhz);
    return value >= kMeterFullScale ? kMeterFullScale : static_cast<std::int32_t>(value);
}

void runLevelPoll(const ConnectionSettings& encoder, LevelReadings& levels,
                  std::atomic<std::int32_t>& running, PollSink& sink) {
    DeviceConnection connection;
    // The encoder the dialog was opened for, as its tcp.txt says, not a fixed port.
    connection.SetParameters(encoder.portName, encoder.ipAddress, encoder.tcpPort,
                             encoder.speedIndex, encoder.readAck);
    if (connection.open() != 0) {
        running.store(0);
        return;
    }
    while (running.load() == 1) {
        // A failed query has been reported where it failed; the loop goes on.
        PollReading reading;
        reading.channelsFresh = QueryLevels(connection, 0, levels) == 0;
        reading.deviationFresh = QueryLevels(connection, 1, levels) == 0;
        reading.channels = {meterValueForDeviation(levels.levelSet0[0].load()),
                            meterValueForDeviation(levels.levelSet0[1].load())};
        reading.mpxDeviationKhz = levels.levelSet1[0].load();
        sink.deliver(reading);
        pauseWhileRunning(running);
    }
    connection.close();
    running.store(0);
}

}  // namespace q93
