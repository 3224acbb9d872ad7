#include "tests/protocol/transfer_fixture.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "protocol/device_transfer.h"
#include "protocol/parameter_files.h"
#include "protocol/parameter_ranges.h"
#include "protocol/preset_transfer.h"

namespace q93::test {

SimEncoder::SimEncoder(const Transport& transport, const std::vector<std::string>& extra)
    : transport_(transport) {
    std::vector<std::string> args{"--store", store_.path().string()};
    if (transport.tcp) {
        args.insert(args.end(), {"--tcp", "127.0.0.1:0"});
    } else {
        args.insert(args.end(), {"--pty", "--serial-ack", transport.ack ? "1" : "0"});
    }
    args.insert(args.end(), extra.begin(), extra.end());
    sim_ = std::make_unique<SimProcess>(args);

    config_ = std::make_unique<ConfigHome>("[Ports]\n" + std::string(kSimPortName) + "=" +
                                           sim_->ptyPath() + "\n");
}

void SimEncoder::configure(DeviceConnection& connection) const {
    if (transport_.tcp) {
        connection.SetParameters("TCP/IP", sim_->host(), std::to_string(sim_->port()), 5, 1);
    } else {
        connection.SetParameters(kSimPortName, "", "", 5, transport_.ack ? 1 : 0);
    }
}

std::vector<std::string> SimEncoder::connectionOptions() const {
    if (transport_.tcp) {
        return {"--port",     "TCP/IP",     "--ip",
                sim_->host(), "--tcp-port", std::to_string(sim_->port())};
    }
    return {"--port", kSimPortName, "--speed", "5", "--ack", transport_.ack ? "1" : "0"};
}

PresetParameters SimEncoder::preset(int n) const {
    PresetParameters preset;
    readPresetFile((store_.path() / ("Preset-" + std::to_string(n) + ".dat")).string(), preset);
    return preset;
}

DeviceParameters SimEncoder::device() const {
    DeviceParameters device;
    readDeviceFile((store_.path() / "device.dat").string(), device);
    return device;
}

namespace {

template <typename Block, typename Read>
Block once(const std::function<bool(const Block&)>& holds, Read read) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    Block block = read();
    while (!holds(block) && std::chrono::steady_clock::now() < deadline) {
        // The simulator replaces its file once per frame taken; a short pause between looks
        // keeps the poll from starving it on a loaded machine.
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        block = read();
    }
    return block;
}

}  // namespace

PresetParameters SimEncoder::presetOnce(
    int n, const std::function<bool(const PresetParameters&)>& holds) const {
    return once<PresetParameters>(holds, [this, n] { return preset(n); });
}

DeviceParameters SimEncoder::deviceOnce(
    const std::function<bool(const DeviceParameters&)>& holds) const {
    return once<DeviceParameters>(holds, [this] { return device(); });
}

namespace {

template <typename Block, typename Steps>
void fillDistinct(Block& block, Steps steps, int seed) {
    int i = seed;
    for (const auto& step : steps) {
        ++i;
        if (step.real != nullptr) {
            block.*step.real = -6.0 + 0.25 * i;
        } else if (step.put == q93::steps::Put::Indexed16) {
            block.*step.integer = 300 + i;  // a word: both bytes matter
        } else {
            block.*step.integer = 1 + i % 200;
        }
    }
}

// Walks the range table: a list entry or switch state, one of nine steps across a real
// range, and for a level one of five steps across its dBu range at the given sensitivity.
template <typename Block>
void fillInRange(Block& block, std::span<const FieldRange> ranges, int seed, double sensitivity) {
    int t = seed;
    for (const FieldRange& range : ranges) {
        ++t;
        auto* at = reinterpret_cast<unsigned char*>(&block) + range.offset;
        double value = 0;
        switch (range.kind) {
            case RangeKind::List:
            case RangeKind::Switch:
                value = range.low + t % static_cast<int>(range.high - range.low + 1);
                break;
            case RangeKind::Number:
                value = range.type == FieldType::Int32
                            ? range.low + (t * 37) % static_cast<int>(range.high - range.low + 1)
                            : range.low + (t % 9) * (range.high - range.low) / 8;
                break;
            case RangeKind::Dbu: {
                const double dbu = range.low + (t % 5) * (range.high - range.low) / 4;
                value = static_cast<float>(40 * std::pow(10.0, (dbu - sensitivity) / 20));
                break;
            }
        }
        if (range.type == FieldType::Int32) {
            const auto integer = static_cast<std::int32_t>(value);
            std::memcpy(at, &integer, sizeof integer);
        } else {
            std::memcpy(at, &value, sizeof value);
        }
    }
}

}  // namespace

PresetParameters inRangePreset(int seed, double sensitivity40k) {
    PresetParameters preset;
    fillInRange(preset, presetRanges(), seed, sensitivity40k);
    return preset;
}

DeviceParameters inRangeDevice(int seed) {
    DeviceParameters device;
    fillInRange(device, deviceRanges(), seed, 0);
    return device;
}

PresetParameters distinctPreset(int seed) {
    PresetParameters preset;
    fillDistinct(preset, presetWriteSteps(), seed);
    return preset;
}

DeviceParameters distinctDevice(int seed) {
    DeviceParameters device;
    fillDistinct(device, deviceWriteSteps(), seed);
    return device;
}

}  // namespace q93::test
