#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "protocol/connection_settings.h"
#include "protocol/parameter_set.h"

namespace q93 {

// The meter's scale: 0 to 5000 stands for 0 to 100 kHz deviation, the chart's range, so
// bar and curve read alike and the zone limits 3000 and 4000 fall at 60 and 80 kHz.
inline constexpr std::int32_t kMeterFullScale = 5000;
inline constexpr double kChartFullScaleKhz = 100.0;

// A deviation in kHz on the meter's scale, rounded, clamped to 0..5000; not a number
// shows as 0.
std::int32_t meterValueForDeviation(double kHz);

// What one poll hands on. The channel pair comes from the first level set (left and right
// channel deviation in kHz, channel 0 the left bar); the curve from the first value of the
// second set (the MPX peak deviation in kHz). A set whose query failed is not fresh: its
// readings are the old ones and are better not shown again.
struct PollReading {
    bool channelsFresh = false;
    std::array<std::int32_t, 2> channels{};  // left, right, on the meter's scale
    bool deviationFresh = false;
    double mpxDeviationKhz = 0.0;
};

class PollSink {
public:
    virtual ~PollSink() = default;
    // On the poll worker's thread, once per poll.
    virtual void deliver(const PollReading& reading) = 0;
};

// The poll worker's loop: its own connection to the encoder, set up with that encoder's
// settings; while `running` is 1, the two level queries into `levels`, one reading to the
// sink and a pause of 100 ms (cut short when running drops). Ends with running 0: at once,
// when the link cannot be opened (a TCP connect that failed counts too), else after the poll
// in progress once running has dropped.
void runLevelPoll(const ConnectionSettings& encoder, LevelReadings& levels,
                  std::atomic<std::int32_t>& running, PollSink& sink);

}  // namespace q93
