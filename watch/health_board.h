#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "watch/metric_text.h"

namespace q93::watch {

// The latest poll of every watched encoder, written by the polling loop and read by the
// HTTP server's threads.
class HealthBoard {
public:
    struct Name {
        std::string site;
        std::string encoder;
    };
    explicit HealthBoard(std::vector<Name> names);

    // Encoder `index` (in the order of the names) was polled.
    void record(std::size_t index, const EncoderHealth& health);
    // The metrics of every encoder polled so far.
    std::string metrics() const;

private:
    mutable std::mutex mutex_;
    std::vector<Name> names_;
    std::vector<std::optional<EncoderHealth>> latest_;
    std::vector<double> lastSuccessAt_;
    WatchCounters counters_;
};

}  // namespace q93::watch
