#include "bench/soak_encoder.h"

#include <sstream>

#include "protocol/parameter_files.h"
#include "store/location_store.h"
#include "tests/support/temp_dir.h"

namespace q93::soak {
namespace {

std::int64_t wholeSeconds(SteadyClock::duration d) {
    return std::chrono::duration_cast<std::chrono::seconds>(d).count();
}

std::vector<std::string> simArguments(const std::filesystem::path& store, const LineStyle& line,
                                      const std::vector<std::string>& faults, bool tcp, bool pty) {
    std::vector<std::string> args{"--store", store.string()};
    if (tcp)
        args.insert(args.end(), {"--tcp", "127.0.0.1:0"});
    if (pty)
        args.push_back("--pty");
    const std::vector<std::string> style = lineArguments(line);
    args.insert(args.end(), style.begin(), style.end());
    args.insert(args.end(), faults.begin(), faults.end());
    return args;
}

// The store is an encoder folder as the location store keeps one.
std::string presetPath(const std::filesystem::path& store, int n) {
    return presetFilePath(store.string() + "/", n);
}

std::string devicePath(const std::filesystem::path& store) {
    return deviceFilePath(store.string() + "/");
}

std::string asText(const auto& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

std::int64_t clockSeconds(const ClockValues& v) {
    return SecondsFromFields(FullYearFromClock(v.year), v.month, v.day, v.hour, v.minute, v.second);
}

bool clockFits(const HeldClock& held, const ClockValues& read, SteadyClock::time_point readFrom,
               SteadyClock::time_point readUntil) {
    // The encoder counts whole seconds from the moment it was set.
    std::int64_t earliest = held.seconds + wholeSeconds(readFrom - held.setUntil);
    std::int64_t latest = held.seconds + wholeSeconds(readUntil - held.setFrom);
    // Both the encoder and the plan truncate the host's time to whole seconds, at moments
    // a little apart.
    if (held.fromHost) {
        earliest -= 2;
        latest += 2;
    }
    const std::int64_t at = clockSeconds(read);
    return read.offsetCode == held.offsetCode && at >= earliest && at <= latest;
}

std::vector<std::string> lineArguments(const LineStyle& line) {
    std::vector<std::string> args{"--serial-ack", line.serialAck ? "1" : "0"};
    if (line.baud > 0)
        args.insert(args.end(), {"--baud", std::to_string(line.baud)});
    if (line.delayMs > 0)
        args.insert(args.end(), {"--fault", "delay:" + std::to_string(line.delayMs)});
    if (line.trickleMs > 0)
        args.insert(args.end(), {"--fault", "trickle:" + std::to_string(line.trickleMs)});
    return args;
}

std::string faultArgument(const Fault& fault, int requestNumber) {
    std::string text = std::string(faultName(fault.kind)) + ":" + std::to_string(requestNumber);
    if (fault.amount > 0)
        text += ":" + std::to_string(fault.amount);
    return text;
}

SoakEncoder::SoakEncoder(const std::filesystem::path& store, const LineStyle& line,
                         const std::vector<std::string>& faults, bool tcp, bool pty)
    // Declared before the process, the clock is taken just before the encoder starts its own.
    : clock{HostLocalSeconds(), 0, SteadyClock::now(), {}, true},
      store_(store),
      sim_(simArguments(store, line, faults, tcp, pty)) {
    clock.setUntil = SteadyClock::now();
    if (sim_.ready() && !reloadHeld())
        sim_.stop();
}

bool SoakEncoder::reloadHeld() {
    for (int n = 1; n <= kPresetsPerEncoder; ++n) {
        if (readPresetFile(presetPath(store_, n), presets[n - 1]) !=
            static_cast<int>(kPresetBlockSize))
            return false;
    }
    return readDeviceFile(devicePath(store_), device) == static_cast<int>(kDeviceBlockSize);
}

const PresetParameters& SoakEncoder::activePreset() const {
    const int index = device.activePreset;
    return presets[index >= 0 && index < kPresetsPerEncoder ? index : 0];
}

// The encoder sees an analog pair and an AES/EBU frame at all times; what it plays follows
// the active preset's input source.
DeviceStatus SoakEncoder::status() const {
    DeviceStatus s;
    const int source = activePreset().inputSource;
    s.currentInput = source == 0 ? 0 : (source == 1 ? 1 : 2);
    s.digitalChannels = 3;
    s.analogChannels = 3;
    s.aesFrameStatus = 1;
    return s;
}

std::string SoakEncoder::storeDifference() const {
    std::string differing;
    for (int n = 1; n <= kPresetsPerEncoder; ++n) {
        if (test::readFileBytes(presetPath(store_, n)) != asText(encodePreset(presets[n - 1])))
            differing += " Preset-" + std::to_string(n) + ".dat";
    }
    if (test::readFileBytes(devicePath(store_)) != asText(encodeDevice(device)))
        differing += " device.dat";
    return differing;
}

std::vector<std::string> SoakEncoder::stop() {
    sim_.stop();
    std::vector<std::string> complaints;
    std::istringstream log(sim_.stderrText());
    for (std::string line; std::getline(log, line);) {
        if (line.find("ignored a frame") != std::string::npos ||
            line.find("unknown command") != std::string::npos)
            complaints.push_back(line);
    }
    return complaints;
}

}  // namespace q93::soak
