#include "fleet/encoder_session.h"

#include "protocol/clock_transfer.h"
#include "protocol/device_connection.h"
#include "protocol/device_transfer.h"
#include "protocol/preset_transfer.h"
#include "protocol/read_back.h"
#include "store/block_reads.h"
#include "store/location_store.h"

namespace q93 {

EncoderSession::EncoderSession(const StoredEncoder& encoder, StepReporter& reporter)
    : encoder_(encoder), reporter_(reporter) {
    installThreadUserSeam(this);
    installThreadFrameLogger(this);
}

EncoderSession::~EncoderSession() {
    installThreadFrameLogger(nullptr);
    installThreadUserSeam(nullptr);
}

void EncoderSession::showWarning(const std::string& text) {
    warnings_ += warnings_.empty() ? text : " " + text;
}

void EncoderSession::logFrame(const std::uint8_t* bytes, int length, int direction) {
    if (direction == kFrameSent)
        ++framesSent_;
    logProcessFrame(bytes, length, direction);
}

bool EncoderSession::fail(const std::string& step, const std::string& message) {
    failure_ = {step, message};
    return false;
}

bool EncoderSession::loadConnection() {
    std::string busy;
    if (!lock_.acquire(encoder_.folder, lockWait(), &busy, [this] { return reporter_.stopping(); }))
        return fail("lock", reporter_.stopping() ? busy : busy + lockHint());
    std::string reason;
    const ConnectionFault fault = ReadTransferSettings(encoder_.folder, settings_, &reason);
    if (fault != ConnectionFault::None)
        return fail("tcp.txt", connectionFaultText(encoder_.folder, fault, reason));
    return true;
}

template <typename Procedure>
bool EncoderSession::transfer(const std::string& step, Transfer table, Procedure procedure) {
    reporter_.step(step);
    warnings_.clear();
    framesSent_ = 0;
    DeviceConnection connection;
    connection.SetParameters(settings_.portName, settings_.ipAddress, settings_.tcpPort,
                             settings_.speedIndex, settings_.readAck);
    beforeOpen(connection);
    if (procedure(connection) == 0)
        return true;
    std::string message = warnings_.empty() ? step + " failed" : warnings_;
    for (const std::string& cause : openCauses(connection))
        message += " " + cause;
    return fail(stepText(step, table, framesSent_), message);
}

bool EncoderSession::readDevice(DeviceParameters& device) {
    return transfer("read device", Transfer::ReadDevice, [&device](DeviceConnection& connection) {
        return ReadDeviceInto(connection, device);
    });
}

bool EncoderSession::readPreset(int number, PresetParameters& preset) {
    return transfer("read preset " + std::to_string(number), Transfer::ReadPreset,
                    [number, &preset](DeviceConnection& connection) {
                        return ReadPresetInto(connection, number, preset);
                    });
}

bool EncoderSession::writeDevice(const DeviceParameters& device) {
    return transfer("write device", Transfer::WriteDevice, [&device](DeviceConnection& connection) {
        return WriteDevice(connection, device);
    });
}

bool EncoderSession::writePreset(int number, const PresetParameters& preset) {
    PresetParameters addressed = preset;
    addressed.presetNumber = number;
    return transfer(
        "write preset " + std::to_string(number), Transfer::WritePreset,
        [&addressed](DeviceConnection& connection) { return WritePreset(connection, addressed); });
}

bool EncoderSession::verifyDevice(const DeviceParameters& sent) {
    DeviceParameters held = sent;
    if (!readDevice(held))
        return false;
    const std::vector<FieldNotHeld> fields = deviceFieldsNotHeld(sent, held);
    return fields.empty() || fail("verify device", notHeldText(fields));
}

bool EncoderSession::verifyPreset(int number, const PresetParameters& sent) {
    PresetParameters held = sent;
    if (!readPreset(number, held))
        return false;
    const std::vector<FieldNotHeld> fields = presetFieldsNotHeld(sent, held);
    return fields.empty() || fail("verify preset " + std::to_string(number), notHeldText(fields));
}

bool EncoderSession::setClock(const ClockValues& clock) {
    return transfer("set clock", Transfer::SetClock,
                    [&clock](DeviceConnection& connection) { return WriteRtc(connection, clock); });
}

bool EncoderSession::readClock(ClockValues& clock) {
    return transfer("read clock", Transfer::ReadClock,
                    [&clock](DeviceConnection& connection) { return ReadRtc(connection, clock); });
}

}  // namespace q93
