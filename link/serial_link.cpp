#include "link/serial_link.h"

#include "base/frame_bytes.h"
#include "base/frame_log.h"
#include "cpp_all/comlink/flow_control.h"
#include "cpp_all/comlink/line_settings.h"
#include "cpp_all/comlink/port_stream.h"
#include "cpp_all/comlink/posix_comm_port.h"
#include "link/port_table.h"
#include "link/serial_settings.h"

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
// The idle budget is counted in empty polls of this length, not in elapsed time, so that a
// slow but steady trickle never times out.
constexpr int kPollMs = 5;
constexpr int kIdleWeight = 10;

constexpr int kNothingYet = -1;
constexpr int kIdleBudgetSpent = -2;

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
    commPort_ =
        std::make_unique<comlink::PosixCommPort>(index, kReceiveQueueSize, kTransmitQueueSize, 0);
    stream_ = std::make_unique<comlink::PortStream>(*commPort_);
    int flags = 0;
    if (stream_->takeError(flags) != 0) {
        stream_.reset();
        commPort_.reset();
        return -1;
    }

    lineSettings_ = std::make_unique<comlink::LineSettings>(stream_.get());
    lineSettings_->setBaud(baudRate);
    lineSettings_->setDataBits(dataBits);
    lineSettings_->setParity(parity);
    lineSettings_->setStopBits(stopBits);
    // Attached again, the configured values become the ones its restore puts back.
    lineSettings_->attach(*stream_);
    if (stream_->takeError(flags) != 0)
        return failOpen();

    flowControl_ = std::make_unique<comlink::FlowControl>(*stream_);
    const FlowModes modes = flowModesForHandshake(handshake);
    flowControl_->set(modes.inbound, modes.outbound);
    if (stream_->takeError(flags) != 0)
        return failOpen();

    stream_->flushInput();
    stream_->flushOutput();
    return 0;
}

int SerialLink::failOpen() {
    close();
    return -1;
}

// Each companion puts back what it found as it is destroyed, so the device returns to the
// state the port left it in before the port itself closes it.
void SerialLink::close() {
    flowControl_.reset();
    lineSettings_.reset();
    stream_.reset();
    commPort_.reset();
}

int SerialLink::sendFrame(const std::uint8_t* bytes, int length) {
    if (!stream_)
        return -1;
    int repeats = 0;
    for (int at = 0; at < length; ++at) {
        while (stream_->putChar(bytes[at]) != 0) {
            if (++repeats > kMaxSendRepeats)
                return -1;
        }
    }
    logFrame(bytes, length, kFrameSent);
    return 0;
}

int SerialLink::receiveFrame(std::uint8_t* buffer, int* length) {
    if (!stream_ || buffer == nullptr || length == nullptr)
        return -1;
    const WaitForInput waitForInput = [this](int ms) { commPort_->waitForInput(ms); };
    const int received = receiveSerialFrame(*stream_, waitForInput, receiveTimeoutMs, buffer);
    if (received < 0)
        return -1;
    *length = received;
    logFrame(buffer, received, kFrameReceived);
    return 0;
}

namespace {

struct Poller {
    comlink::PortStream& stream;
    const WaitForInput& waitForInput;
    int receiveTimeoutMs;
    int idle = 0;

    int nextChar();
};

int huntStartByte(Poller& poller) {
    int counted = 0;
    for (;;) {
        const int c = poller.nextChar();
        if (c == kIdleBudgetSpent)
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
        if (c == kIdleBudgetSpent)
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
// kIdleBudgetSpent. The wait after an empty poll ends early when a byte arrives.
int Poller::nextChar() {
    if (stream.rxCount() > 0) {
        const int c = stream.getChar(1);
        if (c >= 0) {
            idle = 0;
            return c;
        }
    }
    ++idle;
    if (idle * kIdleWeight > receiveTimeoutMs)
        return kIdleBudgetSpent;
    waitForInput(kPollMs);
    return kNothingYet;
}

}  // namespace

int receiveSerialFrame(comlink::PortStream& stream, const WaitForInput& waitForInput,
                       int receiveTimeoutMs, std::uint8_t* buffer) {
    Poller poller{stream, waitForInput, receiveTimeoutMs};
    if (huntStartByte(poller) != 0)
        return -1;
    return collectFrame(poller, buffer);
}

}  // namespace q93
