#include "protocol/parameter_fields.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace q93 {
namespace {

#define Q93_PRESET_FIELD(name, type) \
    { #name, offsetof(PresetParameters, name), FieldType::type, 1 }
#define Q93_DEVICE_FIELD(name, type) \
    { #name, offsetof(DeviceParameters, name), FieldType::type, 1 }

constexpr FieldInfo kPresetFields[] = {
    Q93_PRESET_FIELD(inputSource, Int32),
    Q93_PRESET_FIELD(inputLevel, Double),
    Q93_PRESET_FIELD(aesSensitivity, Double),
    Q93_PRESET_FIELD(scaMode, Int32),
    Q93_PRESET_FIELD(sca1Gain, Double),
    Q93_PRESET_FIELD(sca2Gain, Double),
    Q93_PRESET_FIELD(delayAnalogDigital, Int32),
    Q93_PRESET_FIELD(delayDigitalAnalog, Int32),
    Q93_PRESET_FIELD(mpxGain, Double),
    Q93_PRESET_FIELD(auxOutput, Int32),
    Q93_PRESET_FIELD(pilotStatus, Int32),
    Q93_PRESET_FIELD(pilotLevel, Double),
    Q93_PRESET_FIELD(pilotPhase, Double),
    Q93_PRESET_FIELD(peakLimiterOn, Int32),
    Q93_PRESET_FIELD(maxDeviation, Double),
    Q93_PRESET_FIELD(powerLimiterOn, Int32),
    Q93_PRESET_FIELD(maxModulationOutput, Double),
    Q93_PRESET_FIELD(testMode, Int32),
    Q93_PRESET_FIELD(preemphasis, Int32),
    Q93_PRESET_FIELD(testTone, Int32),
    Q93_PRESET_FIELD(testToneLevel, Double),
    Q93_PRESET_FIELD(headphoneLevel, Double),
    Q93_PRESET_FIELD(operationMode, Int32),
    Q93_PRESET_FIELD(presetNumber, Int32),
    Q93_PRESET_FIELD(modChkSignaling, Int32),
    Q93_PRESET_FIELD(modChkDigitalOffTime, Int32),
    Q93_PRESET_FIELD(modChkDigitalOnTime, Int32),
    Q93_PRESET_FIELD(modChkDigitalLevel, Double),
    Q93_PRESET_FIELD(modChkAnalogOffTime, Int32),
    Q93_PRESET_FIELD(modChkAnalogOnTime, Int32),
    Q93_PRESET_FIELD(modChkAnalogLevel, Double),
};

constexpr FieldInfo kDeviceFields[] = {
    Q93_DEVICE_FIELD(frontBaud, Int32),
    Q93_DEVICE_FIELD(dte1Baud, Int32),
    Q93_DEVICE_FIELD(dte2Baud, Int32),
    Q93_DEVICE_FIELD(dte3Baud, Int32),
    Q93_DEVICE_FIELD(frontResponse, Int32),
    Q93_DEVICE_FIELD(dte1Response, Int32),
    Q93_DEVICE_FIELD(dte2Response, Int32),
    Q93_DEVICE_FIELD(dte3Response, Int32),
    Q93_DEVICE_FIELD(activePreset, Int32),
    Q93_DEVICE_FIELD(levelUnit, Int32),
    Q93_DEVICE_FIELD(language, Int32),
    Q93_DEVICE_FIELD(sensitivity40k, Double),
    {"correctionValues", offsetof(DeviceParameters, correctionValues), FieldType::Double, 20},
};

#undef Q93_PRESET_FIELD
#undef Q93_DEVICE_FIELD

}  // namespace

std::string formatFieldValue(const void* at, FieldType type) {
    char text[64];
    char* end = text;
    if (type == FieldType::Int32) {
        std::int32_t value;
        std::memcpy(&value, at, sizeof value);
        end = std::to_chars(text, text + sizeof text, value).ptr;
    } else {
        double value;
        std::memcpy(&value, at, sizeof value);
        end = std::to_chars(text, text + sizeof text, value).ptr;
    }
    return std::string(text, end);
}

namespace {

std::size_t fieldSize(FieldType type) {
    return type == FieldType::Int32 ? 4 : 8;
}

}  // namespace

std::span<const FieldInfo> presetFields() {
    return kPresetFields;
}
std::span<const FieldInfo> deviceFields() {
    return kDeviceFields;
}

std::string describeBlock(const void* block, std::span<const FieldInfo> fields) {
    const auto* bytes = static_cast<const unsigned char*>(block);
    std::string out;
    for (const FieldInfo& field : fields) {
        for (int i = 0; i < field.count; ++i) {
            out += field.name;
            if (field.count > 1)
                out += "[" + std::to_string(i + 1) + "]";
            out += '=';
            out += formatFieldValue(bytes + field.offset + i * fieldSize(field.type), field.type);
            out += '\n';
        }
    }
    return out;
}

}  // namespace q93
