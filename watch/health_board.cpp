#include "watch/health_board.h"

#include <algorithm>

namespace q93::watch {

HealthBoard::HealthBoard(std::vector<Name> names) {
    setNames(std::move(names));
}

void HealthBoard::setNames(std::vector<Name> names) {
    const std::lock_guard<std::mutex> guard(mutex_);
    std::vector<Entry> entries;
    entries.reserve(names.size());
    for (Name& name : names) {
        const auto kept = std::find_if(entries_.begin(), entries_.end(),
                                       [&name](const Entry& entry) { return entry.name == name; });
        if (kept != entries_.end())
            entries.push_back(std::move(*kept));
        else
            entries.push_back({std::move(name), std::nullopt, 0.0});
    }
    entries_ = std::move(entries);
}

void HealthBoard::record(const Name& name, const EncoderHealth& health) {
    const std::lock_guard<std::mutex> guard(mutex_);
    const auto entry = std::find_if(entries_.begin(), entries_.end(),
                                    [&name](const Entry& e) { return e.name == name; });
    if (entry == entries_.end())
        return;
    entry->latest = health;
    ++counters_.polls;
    if (health.up)
        entry->lastSuccessAt = health.finishedAt;
    else
        ++counters_.pollErrors;
}

std::string HealthBoard::metrics() const {
    std::vector<WatchedEncoder> polled;
    WatchCounters counters;
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        for (const Entry& entry : entries_) {
            if (entry.latest)
                polled.push_back(
                    {entry.name.site, entry.name.encoder, *entry.latest, entry.lastSuccessAt});
        }
        counters = counters_;
    }
    return metricText(polled, counters);
}

}  // namespace q93::watch
