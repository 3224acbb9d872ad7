#include "protocol/device_transfer.h"

namespace q93 {
namespace {

using namespace steps;
using D = DeviceParameters;
using S = DeviceStatus;

// Interface registers answer with their group byte first and the value at offset 7.
constexpr std::uint8_t kResponseGroup = 0x3B;
constexpr std::uint8_t kBaudGroup = 0x3C;
constexpr int kRegisterValue = 7;
// A memory answer repeats the request's head and address; the value follows at offset 17.
constexpr int kMemoryValue = 17;

constexpr ReadStep<D> kReadDevice[] = {
    readFloat(query(0x11), 0, &D::sensitivity40k),
    readByte(query(0x13), &D::levelUnit),
    readByte(query(0x15), &D::language),
    readByte(query(0x04), &D::activePreset),
    readByteAt(text("17,02,3b,04"), kResponseGroup, kRegisterValue, &D::frontResponse),
    readByteAt(text("17,02,3b,01"), kResponseGroup, kRegisterValue, &D::dte1Response),
    readByteAt(text("17,02,3b,02"), kResponseGroup, kRegisterValue, &D::dte2Response),
    readByteAt(text("17,02,3b,03"), kResponseGroup, kRegisterValue, &D::dte3Response),
    readByteAt(text("17,02,3c,04"), kBaudGroup, kRegisterValue, &D::frontBaud),
    readByteAt(text("17,02,3c,01"), kBaudGroup, kRegisterValue, &D::dte1Baud),
    readByteAt(text("17,02,3c,02"), kBaudGroup, kRegisterValue, &D::dte2Baud),
    readByteAt(text("17,02,3c,03"), kBaudGroup, kRegisterValue, &D::dte3Baud),
};

constexpr ReadStep<S> kReadStatus[] = {
    readByteAt(memory(0x7F24), kParameterAnswer, kMemoryValue, &S::currentInput),
    readByteAt(memory(0x7F40), kParameterAnswer, kMemoryValue, &S::digitalChannels),
    readByteAt(memory(0x7F44), kParameterAnswer, kMemoryValue, &S::aesFrameStatus),
    readByteAt(memory(0x7F3C), kParameterAnswer, kMemoryValue, &S::analogChannels),
};

constexpr WriteStep<D> kWriteDevice[] = {
    writeFloat(0x10, &D::sensitivity40k),
    writeByte(0x12, &D::levelUnit),
    writeByte(0x14, &D::language),
    writeByte(0x03, &D::activePreset),
    writeRegister("3b,04,%02x", &D::frontResponse),
    writeRegister("3b,01,%02x", &D::dte1Response),
    writeRegister("3b,02,%02x", &D::dte2Response),
    writeRegister("3b,03,%02x", &D::dte3Response),
    writeRegister("3c,04,%02x", &D::frontBaud),
    writeRegister("3c,01,%02x", &D::dte1Baud),
    writeRegister("3c,02,%02x", &D::dte2Baud),
    writeRegister("3c,03,%02x", &D::dte3Baud),
};

constexpr int kReadingDevice = 117;
constexpr int kWritingDevice = 118;

}  // namespace

std::span<const ReadStep<D>> deviceReadSteps() {
    return kReadDevice;
}
std::span<const ReadStep<S>> statusReadSteps() {
    return kReadStatus;
}
std::span<const WriteStep<D>> deviceWriteSteps() {
    return kWriteDevice;
}

int ReadDevice(DeviceConnection& connection, DeviceParameters& device, DeviceStatus& status) {
    return runTransfer(connection, kReadingDevice, true, 0, [&connection, &device, &status] {
        return runReadSteps(connection, deviceReadSteps(), device) &&
               runReadSteps(connection, statusReadSteps(), status);
    });
}

int WriteDevice(DeviceConnection& connection, const DeviceParameters& device) {
    return runTransfer(connection, kWritingDevice, true, 0, [&connection, &device] {
        return runWriteSteps(connection, deviceWriteSteps(), device);
    });
}

}  // namespace q93
