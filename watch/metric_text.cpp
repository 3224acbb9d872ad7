#include "watch/metric_text.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <optional>

#include "store/name_text.h"

namespace q93::watch {
namespace {

// A sample's value, or none for an encoder whose poll did not bring it.
using Sample = std::function<std::optional<double>(const WatchedEncoder&)>;

struct Family {
    const char* name;
    const char* help;
    Sample sample;
};

std::optional<double> whenUp(const WatchedEncoder& watched, double value) {
    return watched.latest.up ? std::optional<double>(value) : std::nullopt;
}

Sample statusSample(std::int32_t DeviceStatus::*field) {
    return [field](const WatchedEncoder& watched) {
        return whenUp(watched, watched.latest.status.*field);
    };
}

const std::vector<Family>& encoderFamilies() {
    static const std::vector<Family> families = {
        {"q93_up", "1 when the encoder answered its last poll, else 0.",
         [](const WatchedEncoder& w) { return std::optional<double>(w.latest.up ? 1 : 0); }},
        {"q93_poll_duration_seconds",
         "How long the last poll took, waits for the encoder's lock included.",
         [](const WatchedEncoder& w) { return std::optional<double>(w.latest.pollSeconds); }},
        {"q93_last_success_timestamp_seconds",
         "When the encoder last answered a whole poll, in seconds since the epoch.",
         [](const WatchedEncoder& w) {
             return w.lastSuccessAt > 0 ? std::optional<double>(w.lastSuccessAt) : std::nullopt;
         }},
        {"q93_clock_offset_seconds",
         "The encoder's clock minus the PC's, its time zone offset taken into account.",
         [](const WatchedEncoder& w) { return whenUp(w, w.latest.clockOffsetSeconds); }},
        {"q93_current_input", "The input the encoder runs on (currentInput of the device read).",
         statusSample(&DeviceStatus::currentInput)},
        {"q93_digital_channels",
         "The channels found on the digital input (digitalChannels of the device read).",
         statusSample(&DeviceStatus::digitalChannels)},
        {"q93_aes_frame_status", "The AES/EBU frame status (aesFrameStatus of the device read).",
         statusSample(&DeviceStatus::aesFrameStatus)},
        {"q93_analog_channels",
         "The channels found on the analog input (analogChannels of the device read).",
         statusSample(&DeviceStatus::analogChannels)},
    };
    return families;
}

std::string number(double value) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "+Inf" : "-Inf";
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return std::string(text, ec == std::errc{} ? end : text);
}

std::string head(const char* name, const char* help, const char* type) {
    return std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
}

std::string encoderLabels(const WatchedEncoder& watched) {
    const std::string& link = watched.latest.link;
    return "site=\"" + labelValue(watched.site) + "\",encoder=\"" + labelValue(watched.encoder) +
           "\",link=\"" + (link.empty() ? "unknown" : link) + "\"";
}

template <std::size_t N>
void appendLevels(std::string& text, const std::string& labels, const char* set,
                  const std::array<double, N>& readings) {
    for (std::size_t i = 0; i < N; ++i) {
        text += "q93_level{" + labels + ",set=\"" + set + "\",index=\"" + std::to_string(i + 1) +
                "\"} " + number(readings[i]) + "\n";
    }
}

std::string siteLabels(const WatchedEncoder& watched) {
    return "site=\"" + labelValue(watched.site) + "\",encoder=\"" + labelValue(watched.encoder) +
           "\"";
}

// The settings drift of every encoder read against stored files, and the age of those files.
void appendDrift(std::string& text, const std::vector<WatchedEncoder>& encoders) {
    text += head("q93_settings_drift",
                 "1 when the last settings read found a transferred field that differs from the "
                 "stored files, else 0.",
                 "gauge");
    for (const WatchedEncoder& watched : encoders) {
        if (!watched.drift)
            continue;
        int differing = 0;
        for (const auto& [file, count] : watched.drift->files)
            differing += count;
        text += "q93_settings_drift{" + siteLabels(watched) + ",link=\"" + watched.drift->link +
                "\"} " + (differing > 0 ? "1" : "0") + "\n";
    }
    text += head("q93_settings_differing_fields",
                 "How many transferred fields of a stored file the encoder held otherwise at the "
                 "last settings read.",
                 "gauge");
    for (const WatchedEncoder& watched : encoders) {
        if (!watched.drift)
            continue;
        for (const auto& [file, count] : watched.drift->files) {
            text += "q93_settings_differing_fields{" + siteLabels(watched) + ",link=\"" +
                    watched.drift->link + "\",file=\"" + labelValue(file) + "\"} " +
                    std::to_string(count) + "\n";
        }
    }
    text += head("q93_backup_last_success_timestamp_seconds",
                 "When the encoder's stored files were last written by a backup, in seconds since "
                 "the epoch.",
                 "gauge");
    for (const WatchedEncoder& watched : encoders) {
        if (watched.backupAt)
            text += "q93_backup_last_success_timestamp_seconds{" + siteLabels(watched) + "} " +
                    number(*watched.backupAt) + "\n";
    }
}

}  // namespace

std::string labelValue(const std::string& bytes) {
    std::string out;
    for (const char c : nameText(bytes)) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '"')
            out += "\\\"";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string metricText(const std::vector<WatchedEncoder>& encoders, const WatchCounters& counters) {
    std::string text;
    for (const Family& family : encoderFamilies()) {
        text += head(family.name, family.help, "gauge");
        for (const WatchedEncoder& watched : encoders) {
            const std::optional<double> value = family.sample(watched);
            if (value)
                text += std::string(family.name) + "{" + encoderLabels(watched) + "} " +
                        number(*value) + "\n";
        }
    }
    text += head("q93_level",
                 "The level readings of both level queries, by set and index as q93ctl levels "
                 "names them.",
                 "gauge");
    for (const WatchedEncoder& watched : encoders) {
        if (!watched.latest.up)
            continue;
        const std::string labels = encoderLabels(watched);
        appendLevels(text, labels, "levelSet0", watched.latest.levelSet0);
        appendLevels(text, labels, "levelSet1", watched.latest.levelSet1);
    }
    appendDrift(text, encoders);
    text +=
        head("q93_watch_polls_total", "Polls of an encoder since the watch started.", "counter");
    text += "q93_watch_polls_total " + std::to_string(counters.polls) + "\n";
    text +=
        head("q93_watch_poll_errors_total",
             "Polls since the watch started that an encoder did not answer in full.", "counter");
    text += "q93_watch_poll_errors_total " + std::to_string(counters.pollErrors) + "\n";
    text +=
        head("q93_watch_settings_reads_total",
             "Settings reads of an encoder with stored files since the watch started.", "counter");
    text += "q93_watch_settings_reads_total " + std::to_string(counters.settingsReads) + "\n";
    return text;
}

}  // namespace q93::watch
