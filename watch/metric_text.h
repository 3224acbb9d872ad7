#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "watch/encoder_health.h"

namespace q93::watch {

// One encoder as the metrics show it: its folder names and its latest poll.
struct WatchedEncoder {
    std::string site;
    std::string encoder;
    EncoderHealth latest;
    double lastSuccessAt = 0;          // seconds since the epoch; 0 before the first good poll
    std::optional<DriftCounts> drift;  // none before a settings read compared, or unstored
    std::optional<double> backupAt;    // when the stored files were last written
};

// The watch's own counters, over every poll since it started.
struct WatchCounters {
    std::uint64_t polls = 0;
    std::uint64_t pollErrors = 0;
    std::uint64_t settingsReads = 0;  // settings reads of encoders with stored files
};

// The metrics in the Prometheus text exposition format (version 0.0.4): every family with
// its HELP and TYPE lines, one sample per encoder labelled site, encoder and link. Values
// of an encoder that did not answer are left out rather than shown stale.
std::string metricText(const std::vector<WatchedEncoder>& encoders, const WatchCounters& counters);

// A label value as the format takes it: UTF-8 (folder names that are not are read as
// Windows-1252), with backslash, double quote and line feed escaped.
std::string labelValue(const std::string& bytes);

}  // namespace q93::watch
