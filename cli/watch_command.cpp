#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <thread>

#include "base/stop_signal.h"
#include "cli/command_words.h"
#include "cli/ctl_command.h"
#include "cli/fleet_command.h"
#include "cli/fleet_worker.h"
#include "cli/lock_options.h"
#include "cli/quoted_text.h"
#include "cli/watch_drift.h"
#include "link/tcp_link.h"
#include "store/location_store.h"
#include "watch/encoder_poll.h"
#include "watch/health_board.h"
#include "watch/health_json.h"
#include "watch/metrics_server.h"
#include "watch/settings_drift.h"
#include "watch/web_config.h"

namespace q93::ctl {
namespace {

constexpr const char* kDefaultListen = "127.0.0.1:9393";
constexpr int kDefaultInterval = 30;
constexpr int kMaxInterval = 86400;
constexpr int kDefaultJobs = 8;
constexpr int kDefaultSettingsInterval = 900;

struct WatchOptions {
    std::vector<std::string> words;  // the SITE and SITE/ENC words, each round's selection
    std::vector<StoredEncoder> encoders;
    watch::ListenAddress listen;
    std::chrono::seconds interval{kDefaultInterval};
    int jobs = kDefaultJobs;
    std::string webConfig;  // empty: plain HTTP, no password
    std::chrono::seconds settingsInterval{kDefaultSettingsInterval};  // 0: no settings reads
};

// A usage mistake returns kExitUsage, encoders that cannot be selected kExitFailure, both
// after the message; 0 when the options are complete.
int readOptions(const Arguments& args, WatchOptions& options) {
    CommandWords words;
    std::string error;
    if (!splitWords(args,
                    {"--listen", "--interval", "--jobs", "--web-config", "--settings-interval"}, {},
                    words, &error))
        return usageError(error);
    const std::string* listen = words.option("--listen");
    if (!watch::parseListenAddress(listen != nullptr ? *listen : kDefaultListen, options.listen))
        return usageError("--listen takes HOST:PORT, such as 127.0.0.1:9393 or [::1]:9393");
    int interval = kDefaultInterval;
    const std::string* given = words.option("--interval");
    if (given != nullptr && !parseNumber(*given, 1, kMaxInterval, interval))
        return usageError("--interval takes seconds, 1 to " + std::to_string(kMaxInterval));
    options.interval = std::chrono::seconds(interval);
    given = words.option("--jobs");
    if (given != nullptr && !parseNumber(*given, 1, kMaxFleetJobs, options.jobs))
        return usageError("--jobs takes 1.." + std::to_string(kMaxFleetJobs));
    if (const std::string* web = words.option("--web-config"); web != nullptr) {
        if (web->empty())
            return usageError("--web-config takes a file");
        options.webConfig = *web;
    }
    int settingsInterval = kDefaultSettingsInterval;
    given = words.option("--settings-interval");
    if (given != nullptr && !parseNumber(*given, 0, kMaxInterval, settingsInterval))
        return usageError("--settings-interval takes seconds, 0 to " +
                          std::to_string(kMaxInterval));
    options.settingsInterval = std::chrono::seconds(settingsInterval);
    options.words = words.positional;
    if (!selectEncoders(words.positional, options.encoders, &error))
        return failure(error);
    if (options.encoders.empty())
        return failure(std::string("no encoder under ") + kLocationRoot);
    return kExitSuccess;
}

// Runs on the worker thread of one encoder; a watch told to end gives its polls up at once.
JobOutcome pollJob(const StoredEncoder& encoder, StepReporter& reporter) {
    reporter.step("poll");
    const watch::EncoderHealth health =
        watch::pollEncoder(encoder.folder, lockWait(), [&reporter] { return reporter.stopping(); });
    JobOutcome outcome;
    outcome.ok = health.up;
    outcome.failure = {"poll", health.failure};
    outcome.values = watch::healthJson(health);
    return outcome;
}

std::vector<watch::HealthBoard::Name> boardNames(const std::vector<StoredEncoder>& encoders) {
    std::vector<watch::HealthBoard::Name> names;
    for (const StoredEncoder& encoder : encoders)
        names.push_back({encoder.site, encoder.encoder});
    return names;
}

bool sameEncoder(const StoredEncoder& a, const StoredEncoder& b) {
    return a.site == b.site && a.encoder == b.encoder;
}

// Says on stderr which encoders of `now` were not in `before` and which of `before` are
// gone, one line each.
void tellChanges(const std::vector<StoredEncoder>& before, const std::vector<StoredEncoder>& now) {
    const auto in = [](const std::vector<StoredEncoder>& list, const StoredEncoder& encoder) {
        return std::any_of(list.begin(), list.end(),
                           [&encoder](const StoredEncoder& e) { return sameEncoder(e, encoder); });
    };
    for (const StoredEncoder& encoder : before) {
        if (!in(now, encoder))
            std::fprintf(stderr, "removed %s\n", quotedIfNeeded(encoder.name()).c_str());
    }
    for (const StoredEncoder& encoder : now) {
        if (!in(before, encoder))
            std::fprintf(stderr, "added %s\n", quotedIfNeeded(encoder.name()).c_str());
    }
}

// Polls every encoder each interval until SIGINT or SIGTERM; a round that takes longer
// than the interval is followed by the next at once. An encoder that changes from
// answering to not (or back) says so on stderr, once. Each round reads the tree again, so
// that encoders added to or removed from the selection since are polled or dropped.
void pollRounds(const WatchOptions& options, watch::HealthBoard& board, const StopSignal& stop) {
    std::vector<StoredEncoder> encoders = options.encoders;
    std::map<std::string, int> wasUp;
    const auto record = [&](std::size_t index, const JobOutcome& outcome) {
        watch::EncoderHealth health = watch::healthFromJson(outcome.values);
        if (!outcome.ok && health.failure.empty())
            health.failure = outcome.failure.message;
        const StoredEncoder& encoder = encoders[index];
        board.record({encoder.site, encoder.encoder}, health);
        board.recordBackupTime({encoder.site, encoder.encoder},
                               watch::storedFilesWrittenAt(encoder.folder));
        const int up = health.up ? 1 : 0;
        const std::string name = encoder.name();
        const auto was = wasUp.find(name);
        if (was == wasUp.end() || was->second != up) {
            if (up != 0)
                std::fprintf(stderr, "%s answers\n", name.c_str());
            else
                std::fprintf(stderr, "%s does not answer: %s\n", name.c_str(),
                             health.failure.c_str());
            wasUp[name] = up;
        }
    };
    bool first = true;
    std::string unlisted;
    while (!stop.requested()) {
        const auto next = std::chrono::steady_clock::now() + options.interval;
        std::string error;
        std::vector<StoredEncoder> now;
        if (!first)
            now = encodersNamedBy(options.words, &error);
        // A store that cannot be listed for a while drops no encoder: they are polled as
        // they were (and fail as their folders do), and stderr says why once.
        if (error != unlisted && !error.empty())
            std::fprintf(stderr, "%s\n", error.c_str());
        unlisted = error;
        if (!first && error.empty()) {
            tellChanges(encoders, now);
            for (const StoredEncoder& gone : encoders) {
                if (std::none_of(now.begin(), now.end(),
                                 [&gone](const StoredEncoder& e) { return sameEncoder(e, gone); }))
                    wasUp.erase(gone.name());
            }
            encoders = std::move(now);
            board.setNames(boardNames(encoders));
        }
        first = false;
        runFleet(encoders, options.jobs, "watch", pollJob, record, stop.fd());
        stop.sleepFor(next - std::chrono::steady_clock::now());
    }
}

// TLS and passwords as the web configuration at `path` says; false with the reason.
bool secureServer(const std::string& path, watch::MetricsServer& server, std::string* error) {
    const watch::WebConfigReading reading = watch::readWebConfig(path);
    if (!reading.error.empty()) {
        *error = reading.error;
        return false;
    }
    watch::TlsFiles tls;
    if (reading.config.tls() && !watch::readTlsFiles(reading.config, path, tls, error))
        return false;
    server.secure(reading.config, std::move(tls));
    return true;
}

}  // namespace

int runWatchCommand(const Arguments& args) {
    WatchOptions options;
    if (const int status = readOptions(args, options); status != kExitSuccess)
        return status;
    StopSignal stop;
    stop.installSignalHandlers();
    // A poll has seconds to spare, and a hundred encoders' answers add up: each link's answers
    // are read on the thread waiting for them, without a reader thread to hand them over.
    setTcpTakeFromSocket(true);
    watch::HealthBoard board(boardNames(options.encoders));
    watch::MetricsServer server([&board] { return board.metrics(); });
    std::string error;
    if (!options.webConfig.empty() && !secureServer(options.webConfig, server, &error))
        return failure(error);
    if (!server.start(options.listen, &error))
        return failure(error);
    const bool bracketed = options.listen.host.find(':') != std::string::npos;
    if (options.webConfig.empty() && !server.loopbackOnly())
        std::fprintf(stderr,
                     "q93ctl: warning: %s%s%s:%d is reachable beyond this machine and anyone who "
                     "reaches the port can read the metrics; --web-config sets TLS and "
                     "passwords\n",
                     bracketed ? "[" : "", options.listen.host.c_str(), bracketed ? "]" : "",
                     server.port());
    std::printf("serving %s://%s%s%s:%d/metrics\n", server.tls() ? "https" : "http",
                bracketed ? "[" : "", options.listen.host.c_str(), bracketed ? "]" : "",
                server.port());
    std::fflush(stdout);
    std::thread settingsReads;
    if (options.settingsInterval.count() > 0)
        settingsReads = std::thread(runDriftRounds, options.words, options.settingsInterval,
                                    options.jobs, std::ref(board), std::cref(stop));
    pollRounds(options, board, stop);
    if (settingsReads.joinable())
        settingsReads.join();
    server.stop();
    return kExitSuccess;
}

}  // namespace q93::ctl
