#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "watch/metric_text.h"
#include "watch/settings_drift.h"

namespace q93::watch {

// The latest poll of every watched encoder, written by the polling loop and read by the
// HTTP server's threads.
class HealthBoard {
public:
    struct Name {
        std::string site;
        std::string encoder;
        bool operator==(const Name&) const = default;
    };
    explicit HealthBoard(std::vector<Name> names);

    // The encoders watched from now on, as the tree holds them: one that stays keeps its
    // latest poll, one that is gone takes its series along, a new one shows once polled.
    void setNames(std::vector<Name> names);
    // Encoder `name` was polled; nothing when it is not (or no longer) watched.
    void record(const Name& name, const EncoderHealth& health);
    // A settings read of encoder `name` came to `drift`: a comparison shows, an encoder
    // without stored files shows none, a failed read leaves what showed before.
    void recordDrift(const Name& name, const SettingsDrift& drift);
    // When the stored files of encoder `name` were last written; none when it stores none.
    void recordBackupTime(const Name& name, std::optional<double> writtenAt);
    // The metrics of every encoder polled so far.
    std::string metrics() const;

private:
    struct Entry {
        Name name;
        std::optional<EncoderHealth> latest;
        double lastSuccessAt = 0.0;
        std::optional<DriftCounts> drift;
        std::optional<double> backupAt;
    };
    Entry* find(const Name& name);

    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    WatchCounters counters_;
};

}  // namespace q93::watch
