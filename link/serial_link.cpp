#include "link/serial_link.h"

#include <algorithm>

#include "base/frame_bytes.h"
#include "base/frame_log.h"
#include "link/port_table.h"
#include "link/serial_settings.h"
#include "serial/device_path.h"
#include "serial/posix_comm_port.h"

namespace q93 {
namespace {

constexpr int kReceiveQueueSize = 4096;
constexpr int kTransmitQueueSize = 2048;

// A full transmit queue is retried at once, byte by byte; this many retries over one frame
// mean the line is stuck.
constexpr int kMaxSendRepeats = 300;
// Characters taken while hunting for the start byte, and the last buffer position of a
// frame: beyond these the line is talking nonsense.
constexpr int kCharacterLimit = kSerialFrameCapacity - 1;
// The idle budget is counted in empty polls of this length, not in elapsed time; a slow
// but steady trickle keeps resetting it, so a receive is bounded in total as well.
constexpr int kPollMs = 5;
constexpr int kIdleWeight = 10;
// Beyond the frame's own time on the wire: an encoder pausing between the bytes of its
// answer, and a USB adapter handing them on in chunks some milliseconds apart.
constexpr auto kReceiveMargin = std::chrono::milliseconds(500);
// A speed below the slowest the encoder has is no speed; the bound assumes the slowest.
constexpr std::int32_t kSlowestBaud = 1200;

constexpr int kNothingYet = -1;
constexpr int kBudgetSpent = -2;

}  // namespace

SerialLink::SerialLink() {
    loadSerialSettings(*this);
    receiveTimeoutMs = 5000;
}

SerialLink::~SerialLink() {
    close();
}

int SerialLink::open() {
    if (isOpen())
        return -1;
    const int index = portIndexForName(std::string_view(portName).substr(0, kPortNameMaxLength));
    openFailure_ = {OpenStage::None, index, serial::devicePathForPort(index), 0, 0};
    port_ = std::make_unique<serial::PosixCommPort>(index, kReceiveQueueSize, kTransmitQueueSize);
    if (const int code = port_->takeLastError(); code != 0)
        return failOpen(OpenStage::Device, code);
    found_ = port_->settings();

    // The line first, without flow control, so that a refusal names the part refused.
    serial::PortSettings wanted = *found_;
    wanted.baud = baudRate;
    wanted.dataBits = dataBits;
    wanted.parity = parity;
    wanted.stopBits = stopBits;
    wanted.inboundFlow = serial::FLOW_NONE;
    wanted.outboundFlow = serial::FLOW_NONE;
    if (const int code = port_->apply(wanted); code != 0)
        return failOpen(OpenStage::LineSettings, code);

    const FlowModes modes = flowModesForHandshake(handshake);
    wanted.inboundFlow = modes.inbound;
    wanted.outboundFlow = modes.outbound;
    if (const int code = port_->apply(wanted); code != 0)
        return failOpen(OpenStage::FlowControl, code);

    port_->flush(serial::Queue::Input);
    port_->flush(serial::Queue::Output);
    return 0;
}

// Releases what the open created, as close does, keeping what the port said for whoever
// explains the failure: the port itself is gone afterwards.
int SerialLink::failOpen(OpenStage stage, int code) {
    openFailure_.stage = stage;
    openFailure_.code = code;
    openFailure_.systemError = port_->lastSystemError();
    close();
    return -1;
}

// The device goes back to the settings the port found before the port itself closes it.
void SerialLink::close() {
    if (port_ && found_)
        port_->apply(*found_);
    found_.reset();
    port_.reset();
}

int SerialLink::sendFrame(const std::uint8_t* bytes, int length) {
    if (!port_)
        return -1;
    int repeats = 0;
    for (int at = 0; at < length; ++at) {
        while (port_->write(bytes + at, 1) != 1) {
            if (++repeats > kMaxSendRepeats)
                return -1;
        }
    }
    logFrame(bytes, length, kFrameSent);
    return 0;
}

int SerialLink::receiveFrame(std::uint8_t* buffer, int& length) {
    if (!port_ || buffer == nullptr)
        return -1;
    const WaitForInput waitForInput = [this](int ms) { port_->waitForInput(ms); };
    const auto bound = serialReceiveBound(receiveTimeoutMs, baudRate, dataBits, parity, stopBits);
    const int received = receiveSerialFrame(*port_, waitForInput, receiveTimeoutMs, bound, buffer);
    if (received < 0)
        return -1;
    length = received;
    logFrame(buffer, received, kFrameReceived);
    return 0;
}

void SerialLink::discardPending() {
    if (port_)
        port_->flush(serial::Queue::Input);
}

namespace {

struct Poller {
    serial::CommPort& port;
    const WaitForInput& waitForInput;
    int receiveTimeoutMs;
    std::chrono::steady_clock::time_point deadline;
    int idle = 0;

    int nextChar();
};

int huntStartByte(Poller& poller) {
    int counted = 0;
    for (;;) {
        const int c = poller.nextChar();
        if (c == kBudgetSpent)
            return -1;
        if (c == kNothingYet)
            continue;
        ++counted;
        if (c == kStartByte)
            return 0;
        if (counted > kCharacterLimit)
            return -1;
    }
}

// Start bytes repeated before the first other character are dropped, so that the frame
// handed on has exactly one. Each dropped one still counts towards the character limit:
// every byte resets the idle budget, so a line that keeps sending start bytes would
// otherwise hold the caller for as long as it talks.
int collectFrame(Poller& poller, std::uint8_t* buffer) {
    buffer[0] = kStartByte;
    int next = 1;
    int taken = 1;
    for (;;) {
        const int c = poller.nextChar();
        if (c == kBudgetSpent)
            return -1;
        if (c == kNothingYet)
            continue;
        ++taken;
        if (c == kStartByte && next == 1) {
            if (taken > kCharacterLimit)
                return -1;
            continue;
        }
        buffer[next++] = static_cast<std::uint8_t>(c);
        if (c == kEndByte || next > kCharacterLimit)
            return next;
    }
}

// One poll of the receive queue: a character, kNothingYet after an empty poll, or
// kBudgetSpent once the idle budget or the total time is used up. The wait after an empty
// poll ends early when a byte arrives.
int Poller::nextChar() {
    if (std::chrono::steady_clock::now() >= deadline)
        return kBudgetSpent;
    if (port.bytesWaiting() > 0) {
        const int c = port.getChar(1);
        if (c >= 0) {
            idle = 0;
            return c;
        }
    }
    ++idle;
    if (idle * kIdleWeight > receiveTimeoutMs)
        return kBudgetSpent;
    waitForInput(kPollMs);
    return kNothingYet;
}

}  // namespace

std::chrono::milliseconds serialReceiveBound(int receiveTimeoutMs, std::int32_t baudRate,
                                             int dataBits, char parity, int stopBits) {
    const std::int64_t idleMs = std::max(receiveTimeoutMs, 0) / kIdleWeight * kPollMs;
    const std::int64_t bitsPerCharacter =
        1 + std::clamp(dataBits, serial::kFewestDataBits, serial::kMostDataBits) +
        (parity == 'N' ? 0 : 1) + std::clamp(stopBits, 1, 2);
    const std::int64_t baud = std::max(baudRate, kSlowestBaud);
    const std::int64_t frameMs = (kSerialFrameCapacity * bitsPerCharacter * 1000 + baud - 1) / baud;
    return std::chrono::milliseconds(idleMs + frameMs) + kReceiveMargin;
}

int receiveSerialFrame(serial::CommPort& port, const WaitForInput& waitForInput,
                       int receiveTimeoutMs, std::chrono::milliseconds totalBound,
                       std::uint8_t* buffer) {
    Poller poller{port, waitForInput, receiveTimeoutMs,
                  std::chrono::steady_clock::now() + totalBound};
    if (huntStartByte(poller) != 0)
        return -1;
    return collectFrame(poller, buffer);
}

}  // namespace q93
