#include "watch/health_board.h"

namespace q93::watch {

HealthBoard::HealthBoard(std::vector<Name> names)
    : names_(std::move(names)), latest_(names_.size()), lastSuccessAt_(names_.size(), 0.0) {}

void HealthBoard::record(std::size_t index, const EncoderHealth& health) {
    const std::lock_guard<std::mutex> guard(mutex_);
    if (index >= latest_.size())
        return;
    latest_[index] = health;
    ++counters_.polls;
    if (health.up)
        lastSuccessAt_[index] = health.finishedAt;
    else
        ++counters_.pollErrors;
}

std::string HealthBoard::metrics() const {
    std::vector<WatchedEncoder> polled;
    WatchCounters counters;
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        for (std::size_t i = 0; i < names_.size(); ++i) {
            if (latest_[i])
                polled.push_back(
                    {names_[i].site, names_[i].encoder, *latest_[i], lastSuccessAt_[i]});
        }
        counters = counters_;
    }
    return metricText(polled, counters);
}

}  // namespace q93::watch
