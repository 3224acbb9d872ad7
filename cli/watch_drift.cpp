#include "cli/watch_drift.h"

#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>

#include "base/held_signals.h"
#include "cli/encoder_names.h"
#include "cli/lock_options.h"
#include "cli/quoted_text.h"
#include "watch/settings_drift.h"

namespace q93::ctl {
namespace {

// The differing fields each encoder showed last, to tell only their changes.
class DriftLines {
public:
    void tell(const StoredEncoder& encoder, const watch::SettingsDrift& drift) {
        if (drift.result == CompareResult::ReadFailed)
            return;
        const std::lock_guard<std::mutex> guard(mutex_);
        if (drift.result == CompareResult::NothingStored) {
            shown_.erase(encoder.name());
            return;
        }
        const std::string fields = watch::differingFieldNames(drift.differences);
        std::string& was = shown_[encoder.name()];
        if (fields == was)
            return;
        was = fields;
        const std::string name = quotedIfNeeded(encoder.name());
        if (fields.empty())
            std::fprintf(stderr, "%s holds its stored settings again\n", name.c_str());
        else
            std::fprintf(stderr, "%s holds settings other than stored: %s\n", name.c_str(),
                         fields.c_str());
    }

private:
    std::mutex mutex_;
    std::map<std::string, std::string> shown_;
};

void readRound(const std::vector<StoredEncoder>& encoders, int jobs, watch::HealthBoard& board,
               const StopSignal& stop, DriftLines& lines) {
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < encoders.size() && !stop.requested(); i = next++) {
            const StoredEncoder& encoder = encoders[i];
            if (!encoder.unreadable.empty() || encoder.encoder.empty())
                continue;
            const watch::SettingsDrift drift = watch::readSettingsDrift(
                encoder.folder, lockWait(), [&stop] { return stop.requested(); });
            board.recordDrift({encoder.site, encoder.encoder}, drift);
            lines.tell(encoder, drift);
        }
    };
    std::vector<std::thread> threads;
    const std::size_t count =
        std::min<std::size_t>(static_cast<std::size_t>(jobs), encoders.size());
    for (std::size_t t = 0; t < count; ++t)
        EndSignalsTaken::startThread([&] { threads.emplace_back(work); });
    for (std::thread& thread : threads)
        thread.join();
}

}  // namespace

void runDriftRounds(const std::vector<std::string>& words, std::chrono::seconds interval, int jobs,
                    watch::HealthBoard& board, const StopSignal& stop) {
    DriftLines lines;
    while (!stop.requested()) {
        const auto next = std::chrono::steady_clock::now() + interval;
        std::string error;
        // A store that cannot be listed reads nothing this round; the polls say why.
        readRound(encodersNamedBy(words, &error), jobs, board, stop, lines);
        stop.sleepFor(next - std::chrono::steady_clock::now());
    }
}

}  // namespace q93::ctl
