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
            entries.push_back({std::move(name), std::nullopt, 0.0, std::nullopt, std::nullopt});
    }
    entries_ = std::move(entries);
}

HealthBoard::Entry* HealthBoard::find(const Name& name) {
    const auto entry = std::find_if(entries_.begin(), entries_.end(),
                                    [&name](const Entry& e) { return e.name == name; });
    return entry == entries_.end() ? nullptr : &*entry;
}

void HealthBoard::record(const Name& name, const EncoderHealth& health) {
    const std::lock_guard<std::mutex> guard(mutex_);
    Entry* entry = find(name);
    if (entry == nullptr)
        return;
    entry->latest = health;
    ++counters_.polls;
    if (health.up)
        entry->lastSuccessAt = health.finishedAt;
    else
        ++counters_.pollErrors;
}

void HealthBoard::recordDrift(const Name& name, const SettingsDrift& drift) {
    const std::lock_guard<std::mutex> guard(mutex_);
    Entry* entry = find(name);
    if (drift.result != CompareResult::NothingStored)
        ++counters_.settingsReads;
    if (entry == nullptr || drift.result == CompareResult::ReadFailed)
        return;
    if (drift.result == CompareResult::NothingStored)
        entry->drift.reset();
    else
        entry->drift = DriftCounts{drift.link, differingFieldCounts(drift)};
}

void HealthBoard::recordBackupTime(const Name& name, std::optional<double> writtenAt) {
    const std::lock_guard<std::mutex> guard(mutex_);
    if (Entry* entry = find(name))
        entry->backupAt = writtenAt;
}

std::string HealthBoard::metrics() const {
    std::vector<WatchedEncoder> polled;
    WatchCounters counters;
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        for (const Entry& entry : entries_) {
            if (entry.latest)
                polled.push_back({entry.name.site, entry.name.encoder, *entry.latest,
                                  entry.lastSuccessAt, entry.drift, entry.backupAt});
        }
        counters = counters_;
    }
    return metricText(polled, counters);
}

}  // namespace q93::watch
