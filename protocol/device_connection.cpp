#include "protocol/device_connection.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <thread>

#include "base/user_seam.h"
#include "link/connection_fields.h"
#include "protocol/command_formatters.h"

namespace q93 {
namespace {

// Texts are kept to the sizes of the classic fields.
constexpr std::size_t kMaxText = 254;
// Without acknowledgements the encoder needs this long to take a command in.
constexpr auto kUnacknowledgedPause = std::chrono::milliseconds(100);
// Acknowledgements are received here; both links' frames fit.
constexpr int kAckBufferSize = 1024;
// An un-stuffed answer ends with two checksum bytes and the end byte.
constexpr int kTrailerLength = 3;

std::int32_t decimalValue(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

std::int32_t baudRateForIndex(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kBaudRates)))
        return kDefaultBaudRate;
    return kBaudRates[index];
}

DeviceConnection::DeviceConnection() {
    chooseLink();
}

// A link of the other kind is replaced; one of the right kind is kept with its state.
void DeviceConnection::chooseLink() {
    const bool tcp = portName == kTcpIpPortName;
    if (link_ && (tcp ? tcpLink() != nullptr : serialLink() != nullptr))
        return;
    if (tcp) {
        link_ = std::make_unique<TcpLink>();
    } else {
        link_ = std::make_unique<SerialLink>();
    }
}

void DeviceConnection::SetParameters(const std::string& port, const std::string& ip,
                                     const std::string& tcp, int baudIndex, int ackFlag) {
    portName = port.substr(0, kMaxText);
    ipAddress = ip.substr(0, kMaxText);
    tcpPort = tcp.substr(0, kMaxText);
    baudRate = baudRateForIndex(baudIndex);
    expectAck = ackFlag;
    chooseLink();
}

int DeviceConnection::open() {
    chooseLink();
    if (TcpLink* tcp = tcpLink()) {
        useTcp = 1;
        tcp->hostName = ipAddress;
        tcp->ipText = ipAddress;
        tcp->tcpPort = decimalValue(tcpPort);
    } else {
        useTcp = 0;
        serialLink()->portName = portName;
        serialLink()->baudRate = baudRate;
    }
    // A connect that failed has shown why; nothing may then be sent or waited for.
    return link_->open();
}

int DeviceConnection::close() {
    link_->close();
    return 0;
}

// A link that is not open answers at once: a read after a failure has closed it must not
// wait on a port that is gone.
int DeviceConnection::receiveRaw(std::uint8_t* buffer, int& length) {
    length = 0;
    return link_->receiveFrame(buffer, length);
}

void DeviceConnection::noAnswer() {
    showWarning(kNoAnswerText);
    close();
}

int DeviceConnection::Transact(const std::string& text) {
    codec_.buildFrame(text);
    std::uint8_t ack[kAckBufferSize];
    int length = 0;
    link_->sendFrame(codec_.wireFrame(), codec_.wireLength());
    // The serial line acknowledges only when asked to; TCP always does.
    if (useTcp == 0 && expectAck == 0) {
        std::this_thread::sleep_for(kUnacknowledgedPause);
        return 0;
    }
    if (receiveRaw(ack, length) != 0) {
        noAnswer();
        return -1;
    }
    // What the acknowledgement says is not acted on: its arrival is the answer.
    if (useTcp == 0)
        checkAcknowledge(ack, length, kAckBufferSize);
    return 0;
}

bool DeviceConnection::receiveAnswer(int minLength) {
    int length = 0;
    if (receiveRaw(codec_.receiveBuffer(), length) != 0)
        return false;
    codec_.setReceivedLength(length);
    return codec_.unstuffAnswer() && codec_.wireLength() >= minLength;
}

void DeviceConnection::discardPendingAnswers() {
    link_->discardPending();
}

bool DeviceConnection::checkAnswer(std::uint8_t expectedCode, int lastOffset) {
    answerError = 0;
    int length = 0;
    if (receiveRaw(codec_.receiveBuffer(), length) != 0) {
        answerError = -1;
        noAnswer();
        return false;
    }
    codec_.setReceivedLength(length);
    const bool complete = codec_.unstuffAnswer();
    const std::uint8_t code = codec_.wireLength() > 5 ? codec_.answerByte(5) : 0;
    // Past the received frame the buffer still holds the request; an answer too short to
    // carry its value is a wrong answer, not a value made of request bytes.
    const bool holdsValue = complete && lastOffset < codec_.wireLength() - kTrailerLength;
    if (code == expectedCode && holdsValue)
        return true;
    answerError = -1;
    if (!complete || code == expectedCode) {
        // A frame cut short (the serial link's 765 bytes, never un-stuffed, so its byte 5 may
        // be part of an escape), or the right code too short for the value: no usable answer
        // came, and "2d anstatt 2d" would contradict itself.
        noAnswer();
        return false;
    }
    char text[96];
    std::snprintf(text, sizeof text, kWrongAnswerFormat, code, expectedCode);
    showWarning(text);
    close();
    return false;
}

// The byte at offset of the awaited answer; none when it did not come.
std::optional<int> DeviceConnection::answerByteAt(std::uint8_t expectedCode, int offset) {
    if (!checkAnswer(expectedCode, offset))
        return std::nullopt;
    return codec_.answerByte(offset);
}

int DeviceConnection::ReadByteAnswer(std::uint8_t expectedCode) {
    return answerByteAt(expectedCode, shortForm == 1 ? 10 : 11).value_or(-1);
}

int DeviceConnection::ReadByteAt(std::uint8_t expectedCode, int offset) {
    return answerByteAt(expectedCode, offset).value_or(-1);
}

int DeviceConnection::ReadWordAnswer(std::uint8_t expectedCode, int offset) {
    if (!checkAnswer(expectedCode, offset + 12))
        return -1;
    return codec_.answerByte(offset + 11) << 8 | codec_.answerByte(offset + 12);
}

double DeviceConnection::ReadFloatAnswer(std::uint8_t expectedCode, int offset) {
    const int first = (shortForm == 1 ? 10 : 11) + offset;
    if (!checkAnswer(expectedCode, first + 3))
        return -1.0;
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = bits << 8 | codec_.answerByte(first + i);
    return std::bit_cast<float>(bits);
}

int DeviceConnection::query(std::uint8_t id) {
    commandText = queryText(id, {shortForm == 1, presetByte});
    return Transact(commandText);
}

int DeviceConnection::queryIndexed(std::uint8_t id, std::uint8_t index) {
    commandText = queryIndexedText(id, index, {shortForm == 1, presetByte});
    return Transact(commandText);
}

int DeviceConnection::memoryQuery(std::uint32_t address) {
    commandText = memoryQueryText(address);
    return Transact(commandText);
}

int DeviceConnection::setByte(std::uint8_t id, std::int32_t value) {
    commandText = setByteText(id, value, {shortForm == 1, presetByte});
    return 0;
}

int DeviceConnection::set32(std::uint8_t id, std::uint32_t value) {
    commandText = set32Text(id, value, {shortForm == 1, presetByte});
    return 0;
}

int DeviceConnection::setIndexed32(std::uint8_t id, std::uint8_t index, std::uint32_t value) {
    commandText = setIndexed32Text(id, index, value, {shortForm == 1, presetByte});
    return 0;
}

int DeviceConnection::setIndexed16(std::uint8_t id, std::uint8_t index, std::int32_t value) {
    commandText = setIndexed16Text(id, index, value, {shortForm == 1, presetByte});
    return 0;
}

}  // namespace q93
