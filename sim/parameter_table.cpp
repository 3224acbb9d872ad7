#include "sim/parameter_table.h"

#include <cstring>

#include "protocol/parameter_set.h"

namespace q93::sim {

namespace {

#define PRESET(field) Scope::Preset, offsetof(PresetParameters, field)
#define DEVICE(field) Scope::Device, offsetof(DeviceParameters, field)

// The parameter tables of the protocol, in the order of the preset and device transfers.
constexpr ParameterRow kRows[] = {
    {"inputSource", 0x70, 0x60, Wire::Byte, -1, PRESET(inputSource)},
    {"inputLevel", 0x40, 0x30, Wire::Float, -1, PRESET(inputLevel)},
    {"aesSensitivity", 0x41, 0x31, Wire::Float, -1, PRESET(aesSensitivity)},
    {"scaMode", 0x71, 0x61, Wire::Byte, -1, PRESET(scaMode)},
    {"sca1Gain", 0x42, 0x32, Wire::Float, 0, PRESET(sca1Gain)},
    {"sca2Gain", 0x42, 0x32, Wire::Float, 1, PRESET(sca2Gain)},
    {"mpxGain", 0x43, 0x33, Wire::Float, -1, PRESET(mpxGain)},
    {"auxOutput", 0x72, 0x62, Wire::Byte, -1, PRESET(auxOutput)},
    {"pilotStatus", 0x73, 0x63, Wire::Byte, -1, PRESET(pilotStatus)},
    {"pilotLevel", 0x44, 0x34, Wire::Float, -1, PRESET(pilotLevel)},
    {"pilotPhase", 0x45, 0x35, Wire::Float, -1, PRESET(pilotPhase)},
    {"peakLimiterOn", 0x74, 0x64, Wire::Byte, -1, PRESET(peakLimiterOn)},
    {"maxDeviation", 0x46, 0x36, Wire::Float, -1, PRESET(maxDeviation)},
    {"powerLimiterOn", 0x75, 0x65, Wire::Byte, -1, PRESET(powerLimiterOn)},
    {"maxModulationOutput", 0x47, 0x37, Wire::Float, -1, PRESET(maxModulationOutput)},
    {"operationMode", 0xBA, 0xAA, Wire::Byte, -1, PRESET(operationMode)},
    {"preemphasis", 0x78, 0x68, Wire::Byte, -1, PRESET(preemphasis)},
    {"testMode", 0x76, 0x66, Wire::Byte, -1, PRESET(testMode)},
    {"testTone", 0x77, 0x67, Wire::Byte, -1, PRESET(testTone)},
    {"testToneLevel", 0x48, 0x38, Wire::Float, -1, PRESET(testToneLevel)},
    {"headphoneLevel", 0x49, 0x39, Wire::Float, -1, PRESET(headphoneLevel)},
    {"modChkSignaling", 0xD5, 0xD4, Wire::Byte, -1, PRESET(modChkSignaling)},
    {"modChkDigitalOffTime", 0xD1, 0xD0, Wire::Word, 0, PRESET(modChkDigitalOffTime)},
    {"modChkDigitalOnTime", 0xD1, 0xD0, Wire::Word, 1, PRESET(modChkDigitalOnTime)},
    {"modChkDigitalLevel", 0xD3, 0xD2, Wire::Float, 0, PRESET(modChkDigitalLevel)},
    {"modChkAnalogOffTime", 0xD1, 0xD0, Wire::Word, 2, PRESET(modChkAnalogOffTime)},
    {"modChkAnalogOnTime", 0xD1, 0xD0, Wire::Word, 3, PRESET(modChkAnalogOnTime)},
    {"modChkAnalogLevel", 0xD3, 0xD2, Wire::Float, 1, PRESET(modChkAnalogLevel)},
    {"sensitivity40k", 0x11, 0x10, Wire::Float, -1, DEVICE(sensitivity40k)},
    {"levelUnit", 0x13, 0x12, Wire::Byte, -1, DEVICE(levelUnit)},
    {"language", 0x15, 0x14, Wire::Byte, -1, DEVICE(language)},
    {"activePreset", 0x04, 0x03, Wire::Byte, -1, DEVICE(activePreset)},
};

#undef PRESET
#undef DEVICE

std::span<const ParameterRow> table() { return kRows; }

}  // namespace

std::span<const ParameterRow> parameterTable() { return table(); }

const ParameterRow* findReadRow(std::uint8_t id, int index) {
    for (const ParameterRow& row : table()) {
        if (row.readId == id && row.index == index) return &row;
    }
    return nullptr;
}

const ParameterRow* findWriteRow(std::uint8_t id, int index) {
    for (const ParameterRow& row : table()) {
        if (row.writeId == id && row.index == index) return &row;
    }
    return nullptr;
}

bool readIdIsIndexed(std::uint8_t id) {
    for (const ParameterRow& row : table()) {
        if (row.readId == id) return row.index >= 0;
    }
    return false;
}

bool writeIdIsIndexed(std::uint8_t id) {
    for (const ParameterRow& row : table()) {
        if (row.writeId == id) return row.index >= 0;
    }
    return false;
}

bool isReadId(std::uint8_t id) {
    for (const ParameterRow& row : table()) {
        if (row.readId == id) return true;
    }
    return false;
}

bool isWriteId(std::uint8_t id) {
    for (const ParameterRow& row : table()) {
        if (row.writeId == id) return true;
    }
    return false;
}

int wireSize(Wire wire) {
    switch (wire) {
        case Wire::Byte: return 1;
        case Wire::Word: return 2;
        case Wire::Float: return 4;
    }
    return 0;
}

std::vector<std::uint8_t> encodeField(const void* record, const ParameterRow& row) {
    const auto* at = static_cast<const std::uint8_t*>(record) + row.offset;
    if (row.wire == Wire::Float) {
        double value;
        std::memcpy(&value, at, sizeof value);
        const float narrow = static_cast<float>(value);
        std::uint32_t bits;
        std::memcpy(&bits, &narrow, sizeof bits);
        return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
    }
    std::int32_t value;
    std::memcpy(&value, at, sizeof value);
    const auto bits = static_cast<std::uint32_t>(value);
    if (row.wire == Wire::Word) {
        return {static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits)};
    }
    return {static_cast<std::uint8_t>(bits)};
}

void decodeField(void* record, const ParameterRow& row, const std::uint8_t* bytes) {
    auto* at = static_cast<std::uint8_t*>(record) + row.offset;
    if (row.wire == Wire::Float) {
        const std::uint32_t bits = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                                   std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
        float narrow;
        std::memcpy(&narrow, &bits, sizeof narrow);
        const double value = narrow;
        std::memcpy(at, &value, sizeof value);
        return;
    }
    const std::int32_t value = row.wire == Wire::Word
                                   ? static_cast<std::int32_t>(bytes[0] << 8 | bytes[1])
                                   : static_cast<std::int32_t>(bytes[0]);
    std::memcpy(at, &value, sizeof value);
}

}  // namespace q93::sim
