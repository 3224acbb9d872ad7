#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace q93 {

// The settings of one preset, byte for byte as a preset file holds them. Reserved gaps are
// kept as they were loaded and never interpreted.
struct PresetParameters {
    std::int32_t inputSource = 0;
    std::uint8_t reserved4[4] = {};
    double inputLevel = 0;  // kHz deviation
    double aesSensitivity = 0;
    std::int32_t scaMode = 0;
    std::uint8_t reserved28[4] = {};
    double sca1Gain = 0;
    double sca2Gain = 0;
    std::int32_t delayAnalogDigital = 0;
    std::int32_t delayDigitalAnalog = 0;
    double mpxGain = 0;
    std::int32_t auxOutput = 0;
    std::int32_t pilotStatus = 0;
    double pilotLevel = 0;  // kHz deviation
    double pilotPhase = 0;
    std::int32_t peakLimiterOn = 0;
    std::uint8_t reserved92[4] = {};
    double maxDeviation = 0;
    std::int32_t powerLimiterOn = 0;
    std::uint8_t reserved108[4] = {};
    double maxModulationOutput = 0;
    std::int32_t testMode = 0;
    std::int32_t preemphasis = 0;
    std::int32_t testTone = 0;  // list index plus 1
    std::uint8_t reserved132[4] = {};
    double testToneLevel = 0;  // kHz deviation
    double headphoneLevel = 0;
    std::int32_t operationMode = 0;
    std::int32_t presetNumber = 0;  // taken from the file name on loading, never sent
    std::int32_t modChkSignaling = 0;
    std::int32_t modChkDigitalOffTime = 0;
    std::int32_t modChkDigitalOnTime = 0;
    std::uint8_t reserved172[4] = {};
    double modChkDigitalLevel = 0;
    std::int32_t modChkAnalogOffTime = 0;
    std::int32_t modChkAnalogOnTime = 0;
    double modChkAnalogLevel = 0;  // kHz deviation, shown in dBu
};

// The settings of the encoder as a whole, byte for byte as device.dat holds them.
struct DeviceParameters {
    std::int32_t frontBaud = 0;
    std::int32_t dte1Baud = 0;
    std::int32_t dte2Baud = 0;
    std::int32_t dte3Baud = 0;
    std::int32_t frontResponse = 0;
    std::int32_t dte1Response = 0;
    std::int32_t dte2Response = 0;
    std::int32_t dte3Response = 0;
    std::int32_t activePreset = 0;
    std::int32_t levelUnit = 0;  // 0 kHz, 1 dBu
    std::int32_t language = 0;   // 0 English, 1 German
    std::uint8_t reserved44[4] = {};
    double sensitivity40k = 0;  // dBu that gives 40 kHz deviation
    double correctionValues[20] = {};
    std::uint8_t reserved216[80] = {};
};

inline constexpr std::size_t kPresetBlockSize = 200;
inline constexpr std::size_t kDeviceBlockSize = 296;

static_assert(sizeof(PresetParameters) == kPresetBlockSize);
static_assert(offsetof(PresetParameters, inputLevel) == 8);
static_assert(offsetof(PresetParameters, scaMode) == 24);
static_assert(offsetof(PresetParameters, sca1Gain) == 32);
static_assert(offsetof(PresetParameters, delayAnalogDigital) == 48);
static_assert(offsetof(PresetParameters, mpxGain) == 56);
static_assert(offsetof(PresetParameters, pilotLevel) == 72);
static_assert(offsetof(PresetParameters, peakLimiterOn) == 88);
static_assert(offsetof(PresetParameters, maxDeviation) == 96);
static_assert(offsetof(PresetParameters, maxModulationOutput) == 112);
static_assert(offsetof(PresetParameters, testMode) == 120);
static_assert(offsetof(PresetParameters, testTone) == 128);
static_assert(offsetof(PresetParameters, testToneLevel) == 136);
static_assert(offsetof(PresetParameters, operationMode) == 152);
static_assert(offsetof(PresetParameters, presetNumber) == 156);
static_assert(offsetof(PresetParameters, modChkDigitalLevel) == 176);
static_assert(offsetof(PresetParameters, modChkAnalogOffTime) == 184);
static_assert(offsetof(PresetParameters, modChkAnalogLevel) == 192);
static_assert(sizeof(DeviceParameters) == kDeviceBlockSize);
static_assert(offsetof(DeviceParameters, activePreset) == 32);
static_assert(offsetof(DeviceParameters, sensitivity40k) == 48);
static_assert(offsetof(DeviceParameters, correctionValues) == 56);
static_assert(offsetof(DeviceParameters, reserved216) == 216);

// Read from the encoder, shown on the Settings page, never stored; -1 means not read.
struct DeviceStatus {
    std::int32_t currentInput = -1;
    std::int32_t digitalChannels = -1;
    std::int32_t analogChannels = -1;
    std::int32_t aesFrameStatus = -1;
};

// Written by the level query on the measurement thread, read by the GUI thread.
struct LevelReadings {
    std::array<std::atomic<double>, 2> levelSet0{};
    std::array<std::atomic<double>, 6> levelSet1{};
};

// What one window or one transfer works on; each holds its own.
struct ParameterSet {
    PresetParameters preset;
    DeviceParameters device;
    DeviceStatus status;
    LevelReadings levels;

    // Back to the start-up state: every field zero, the status values -1.
    void reset();
};

}  // namespace q93
