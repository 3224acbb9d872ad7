#include "sim/encoder_model.h"

#include <cmath>
#include <ctime>

namespace q93::sim {

namespace {

// Input source of presets 1 to 8 (list index: 0 off, 1 analog, 2 digital, 3 auto digital),
// varied so that a transfer of the wrong preset shows at once.
constexpr std::array<int, kPresetCount> kFactoryInputSource = {1, 2, 3, 1, 2, 3, 0, 1};

constexpr double kTwoPi = 6.283185307179586;

// A smooth wander around `centre`: three sines of unrelated periods, at most `swing` away.
double wander(double t, double centre, double swing, double phase) {
    const double a = std::sin(kTwoPi * t / 7.3 + phase);
    const double b = std::sin(kTwoPi * t / 2.9 + 2.1 * phase);
    const double c = std::sin(kTwoPi * t / 0.83 + 3.7 * phase);
    return centre + swing * (0.6 * a + 0.3 * b + 0.1 * c);
}

}  // namespace

PresetParameters EncoderModel::factoryPreset(int n) {
    PresetParameters p;
    p.inputSource = kFactoryInputSource[static_cast<std::size_t>((n - 1) % kPresetCount)];
    p.inputLevel = 40.0;
    p.aesSensitivity = -10.0;
    p.scaMode = 0;
    p.sca1Gain = 1.5;
    p.sca2Gain = -2.0;
    p.delayAnalogDigital = 0;
    p.delayDigitalAnalog = 0;
    p.mpxGain = 0.0;
    p.auxOutput = 1;    // MPX
    p.pilotStatus = 1;  // sine
    p.pilotLevel = 6.75;
    p.pilotPhase = 0.0;
    p.peakLimiterOn = 1;
    p.maxDeviation = 75.0;
    p.powerLimiterOn = 1;
    p.maxModulationOutput = 0.0;
    p.testMode = 0;     // off
    p.preemphasis = 1;  // 50 us
    p.testTone = 3;     // 1 kHz (one-based)
    p.testToneLevel = 40.0;
    p.headphoneLevel = -20.0;
    p.operationMode = 0;  // stereo
    p.presetNumber = n;
    p.modChkSignaling = 1;
    p.modChkDigitalOffTime = 10;
    p.modChkDigitalOnTime = 5;
    p.modChkDigitalLevel = -40.0;
    p.modChkAnalogOffTime = 10;
    p.modChkAnalogOnTime = 5;
    p.modChkAnalogLevel = 2.0;  // kHz: -20 dBu at the factory sensitivity of +6 dBu
    return p;
}

DeviceParameters EncoderModel::factoryDevice() {
    DeviceParameters d;
    d.frontBaud = 4;  // 19200
    d.dte1Baud = 3;   // 9600
    d.dte2Baud = 3;
    d.dte3Baud = 3;
    d.frontResponse = 1;  // Request
    d.dte1Response = 0;   // None
    d.dte2Response = 0;
    d.dte3Response = 0;
    d.activePreset = 0;  // preset 1
    d.levelUnit = 0;     // kHz
    d.language = 1;      // German
    d.sensitivity40k = 6.0;
    return d;
}

EncoderModel::EncoderModel() : started_(Clock::now()) {
    resetToFactory();
}

void EncoderModel::resetToFactory() {
    for (int n = 1; n <= kPresetCount; ++n)
        presets_[static_cast<std::size_t>(n - 1)] = factoryPreset(n);
    device_ = factoryDevice();
    // The clock ticks with the host's seconds, not a fraction of one behind them, so that a
    // reader comparing the two sees only its own delay.
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    const auto intoSecond = sinceEpoch - std::chrono::floor<std::chrono::seconds>(sinceEpoch);
    clockSeconds_ = HostLocalSeconds();
    clockOffsetCode_ = 0;
    clockBase_ = Clock::now() - std::chrono::duration_cast<Clock::duration>(intoSecond);
}

int EncoderModel::activePresetNumber() const {
    const int index = device_.activePreset;
    return index >= 0 && index < kPresetCount ? index + 1 : 1;
}

DeviceStatus EncoderModel::status() const {
    DeviceStatus s;
    switch (preset(activePresetNumber()).inputSource) {
        case 0:
            s.currentInput = 0;
            break;
        case 1:
            s.currentInput = 1;
            break;
        default:
            s.currentInput = 2;
            break;  // digital, and auto digital with a frame present
    }
    s.digitalChannels = 3;  // L / R
    s.analogChannels = 3;   // L / R
    s.aesFrameStatus = 1;   // frame present
    return s;
}

std::uint8_t EncoderModel::memoryByte(std::uint32_t address) const {
    const DeviceStatus s = status();
    switch (address) {
        case 0x7F24:
            return static_cast<std::uint8_t>(s.currentInput);
        case 0x7F40:
            return static_cast<std::uint8_t>(s.digitalChannels);
        case 0x7F3C:
            return static_cast<std::uint8_t>(s.analogChannels);
        case 0x7F44:
            return static_cast<std::uint8_t>(s.aesFrameStatus);
        default:
            return 0;
    }
}

ClockValues EncoderModel::clock() const {
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - clockBase_).count();
    const std::time_t at = static_cast<std::time_t>(clockSeconds_ + elapsed);
    std::tm fields{};
    gmtime_r(&at, &fields);
    ClockValues v;
    v.year = (fields.tm_year + 1900) % 100;
    v.month = fields.tm_mon + 1;
    v.day = fields.tm_mday;
    v.hour = fields.tm_hour;
    v.minute = fields.tm_min;
    v.second = fields.tm_sec;
    v.offsetCode = clockOffsetCode_;
    return v;
}

void EncoderModel::setClock(const ClockValues& values) {
    const int year = FullYearFromClock(values.year);
    clockSeconds_ = SecondsFromFields(year, values.month, values.day, values.hour, values.minute,
                                      values.second);
    clockOffsetCode_ = values.offsetCode;
    clockBase_ = Clock::now();
}

double EncoderModel::secondsRunning() const {
    return std::chrono::duration<double>(Clock::now() - started_).count();
}

std::array<float, 2> EncoderModel::levels0() const {
    const double t = secondsRunning();
    // Left and right channel deviation in kHz, moving like programme material.
    return {static_cast<float>(wander(t, 45.0, 20.0, 0.0)),
            static_cast<float>(wander(t, 42.0, 20.0, 1.3))};
}

std::array<float, 6> EncoderModel::levels1() const {
    const double t = secondsRunning();
    const PresetParameters& p = preset(activePresetNumber());
    return {
        static_cast<float>(wander(t, 68.0, 6.0, 0.4)),           // MPX peak deviation, kHz
        static_cast<float>(wander(t, -1.0, 1.5, 2.2)),           // modulation power, dBr
        static_cast<float>(wander(t, p.pilotLevel, 0.05, 0.9)),  // pilot deviation, kHz
        static_cast<float>(wander(t, -4.0, 6.0, 0.0)),           // analog left input, dBu
        static_cast<float>(wander(t, -4.5, 6.0, 1.3)),           // analog right input, dBu
        static_cast<float>(wander(t, -12.0, 4.0, 3.1)),          // AES/EBU input, dBFS
    };
}

}  // namespace q93::sim
