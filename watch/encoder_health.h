#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "protocol/parameter_set.h"

namespace q93::watch {

// What one poll of one encoder found. The values mean something only when `up`.
struct EncoderHealth {
    bool up = false;
    std::string link;        // "tcp" or "serial", as tcp.txt says; empty when unread
    double pollSeconds = 0;  // the whole poll, waits for the encoder's lock included
    double finishedAt = 0;   // seconds since the epoch
    double clockOffsetSeconds = 0;
    DeviceStatus status;
    std::array<double, 2> levelSet0{};
    std::array<double, 6> levelSet1{};
    std::string failure;  // what stopped the poll, with the encoder's message
};

// What the last settings read that came to a comparison found: per stored file compared
// ("device.dat", "Preset-3.dat"), how many fields the encoder holds otherwise.
struct DriftCounts {
    std::string link;
    std::vector<std::pair<std::string, int>> files;
};

}  // namespace q93::watch
