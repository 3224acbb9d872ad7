#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <utility>

#include "protocol/clock_values.h"
#include "protocol/parameter_set.h"
#include "sim/write_quirks.h"

namespace q93::sim {

inline constexpr int kPresetCount = 8;

// The encoder's real-time clock, in the bytes the wire carries.
using q93::ClockValues;

// Everything the simulated encoder knows: eight presets and the device block (the same
// records the tool's parameter set holds), the status values, a running clock, and level
// readings that move with time. Not thread-safe by itself: hold lock() around every use
// that can race with another connection.
class EncoderModel {
public:
    using Clock = std::chrono::steady_clock;

    EncoderModel();  // factory values, clock set from the host's local time

    std::unique_lock<std::mutex> lock() { return std::unique_lock<std::mutex>(mutex_); }

    // Preset n, 1 to 8. Out-of-range numbers are the caller's mistake (checked by the handler).
    PresetParameters& preset(int n) { return presets_[static_cast<std::size_t>(n - 1)]; }
    const PresetParameters& preset(int n) const {
        return presets_[static_cast<std::size_t>(n - 1)];
    }
    DeviceParameters& device() { return device_; }
    const DeviceParameters& device() const { return device_; }
    // The preset the encoder plays: activePreset is a list index, so preset activePreset+1;
    // an index outside 0-7 counts as preset 1.
    int activePresetNumber() const;

    // The four status values, derived from the active preset's input source: the encoder
    // "sees" an analog pair and an AES/EBU frame on its inputs at all times.
    DeviceStatus status() const;
    // The byte a memory query of `address` answers (the status addresses 0x7F24, 0x7F40,
    // 0x7F3C, 0x7F44; 0 for any other address).
    std::uint8_t memoryByte(std::uint32_t address) const;

    // The clock runs on from the last value set, at the pace of the host's clock.
    ClockValues clock() const;
    void setClock(const ClockValues& values);
    // Moves the clock on (or back, with a negative count) as an encoder that drifted.
    void skewClock(int seconds) { clockSeconds_ += seconds; }

    // Level readings at the moment of asking: selector 0 two values, selector 1 six.
    std::array<float, 2> levels0() const;
    std::array<float, 6> levels1() const;

    // Back to the factory values (presets, device, clock from the host's local time). The
    // write quirks stay: they are how this encoder is built, not what it holds.
    void resetToFactory();

    // How set commands misbehave on this encoder (none unless --ignore-set or --clamp).
    const WriteQuirks& writeQuirks() const { return writeQuirks_; }
    void setWriteQuirks(WriteQuirks quirks) { writeQuirks_ = std::move(quirks); }

    static PresetParameters factoryPreset(int n);
    static DeviceParameters factoryDevice();

private:
    double secondsRunning() const;

    std::mutex mutex_;
    std::array<PresetParameters, kPresetCount> presets_{};
    DeviceParameters device_{};
    // The clock: a calendar time (seconds since 1970 read as UTC fields) at clockBase_.
    std::int64_t clockSeconds_ = 0;
    int clockOffsetCode_ = 0;
    Clock::time_point clockBase_{};
    Clock::time_point started_{};
    WriteQuirks writeQuirks_;
};

}  // namespace q93::sim
