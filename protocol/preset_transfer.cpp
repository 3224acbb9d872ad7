#include "protocol/preset_transfer.h"

namespace q93 {
namespace {

using namespace steps;
using P = PresetParameters;

// The SCA gains come from offsets 11-14 although their query carries an index; the Mod
// Check values sit one byte further, behind the index the encoder repeats.
constexpr ReadStep<P> kReadPreset[] = {
    readByte(query(0x70), &P::inputSource),
    readFloat(query(0x40), 0, &P::inputLevel),
    readFloat(query(0x41), 0, &P::aesSensitivity),
    readByte(query(0x71), &P::scaMode),
    readFloat(queryIndexed(0x42, 0), 0, &P::sca1Gain),
    readFloat(queryIndexed(0x42, 1), 0, &P::sca2Gain),
    readFloat(query(0x43), 0, &P::mpxGain),
    readByte(query(0x72), &P::auxOutput),
    readByte(query(0x73), &P::pilotStatus),
    readFloat(query(0x44), 0, &P::pilotLevel),
    readFloat(query(0x45), 0, &P::pilotPhase),
    readByte(query(0x74), &P::peakLimiterOn),
    readFloat(query(0x46), 0, &P::maxDeviation),
    readByte(query(0x75), &P::powerLimiterOn),
    readFloat(query(0x47), 0, &P::maxModulationOutput),
    readByte(query(0xBA), &P::operationMode),
    readByte(query(0x78), &P::preemphasis),
    readByte(query(0x76), &P::testMode),
    readByte(query(0x77), &P::testTone),
    readFloat(query(0x48), 0, &P::testToneLevel),
    readFloat(query(0x49), 0, &P::headphoneLevel),
    readByte(query(0xD5), &P::modChkSignaling),
    readWord(queryIndexed(0xD1, 0), 1, &P::modChkDigitalOffTime),
    readWord(queryIndexed(0xD1, 1), 1, &P::modChkDigitalOnTime),
    readFloat(queryIndexed(0xD3, 0), 1, &P::modChkDigitalLevel),
    readWord(queryIndexed(0xD1, 2), 1, &P::modChkAnalogOffTime),
    readWord(queryIndexed(0xD1, 3), 1, &P::modChkAnalogOnTime),
    readFloat(queryIndexed(0xD3, 1), 1, &P::modChkAnalogLevel),
};

constexpr WriteStep<P> kWritePreset[] = {
    writeByte(0x60, &P::inputSource),
    writeFloat(0x30, &P::inputLevel),
    writeFloat(0x31, &P::aesSensitivity),
    writeByte(0x61, &P::scaMode),
    writeIndexedFloat(0x32, 0, &P::sca1Gain),
    writeIndexedFloat(0x32, 1, &P::sca2Gain),
    writeFloat(0x33, &P::mpxGain),
    writeByte(0x62, &P::auxOutput),
    writeByte(0x63, &P::pilotStatus),
    writeFloat(0x34, &P::pilotLevel),
    writeFloat(0x35, &P::pilotPhase),
    writeByte(0x64, &P::peakLimiterOn),
    writeFloat(0x36, &P::maxDeviation),
    writeByte(0x65, &P::powerLimiterOn),
    writeFloat(0x37, &P::maxModulationOutput),
    writeByte(0xAA, &P::operationMode),
    writeByte(0x68, &P::preemphasis),
    writeByte(0x66, &P::testMode),
    writeByte(0x67, &P::testTone),
    writeFloat(0x38, &P::testToneLevel),
    writeFloat(0x39, &P::headphoneLevel),
    writeByte(0xD4, &P::modChkSignaling),
    writeIndexed16(0xD0, 0, &P::modChkDigitalOffTime),
    writeIndexed16(0xD0, 1, &P::modChkDigitalOnTime),
    writeIndexedFloat(0xD2, 0, &P::modChkDigitalLevel),
    writeIndexed16(0xD0, 2, &P::modChkAnalogOffTime),
    writeIndexed16(0xD0, 3, &P::modChkAnalogOnTime),
    writeIndexedFloat(0xD2, 1, &P::modChkAnalogLevel),
};

constexpr int kReadingPreset = 115;
constexpr int kWritingPreset = 116;

}  // namespace

std::span<const ReadStep<P>> presetReadSteps() {
    return kReadPreset;
}
std::span<const WriteStep<P>> presetWriteSteps() {
    return kWritePreset;
}

int ReadPreset(DeviceConnection& connection, PresetParameters& preset) {
    return runTransfer(
        connection, kReadingPreset, false, preset.presetNumber,
        [&connection, &preset] { return runReadSteps(connection, presetReadSteps(), preset); });
}

int WritePreset(DeviceConnection& connection, const PresetParameters& preset) {
    return runTransfer(
        connection, kWritingPreset, false, preset.presetNumber,
        [&connection, &preset] { return runWriteSteps(connection, presetWriteSteps(), preset); });
}

}  // namespace q93
