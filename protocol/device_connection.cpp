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
#include "protocol/command_formatters.h"
#include "serial/posix_comm_port.h"

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

void DeviceConnection::SetParameters(const std::string& port, const std::string& ip,
                                     const std::string& tcp, int baudIndex, int ackFlag) {
    portName = port.substr(0, kMaxText);
    ipAddress = ip.substr(0, kMaxText);
    tcpPort = tcp.substr(0, kMaxText);
    baudRate = baudRateForIndex(baudIndex);
    expectAck = ackFlag;
}

int DeviceConnection::open() {
    if (portName == "TCP/IP") {
        useTcp = 1;
        // A connect that failed has shown why; nothing may then be sent or waited for.
        return tcp_.open(ipAddress, ipAddress, decimalValue(tcpPort));
    }
    useTcp = 0;
    serial_.portName = portName;
    serial_.baudRate = baudRate;
    serialOpen_ = serial_.open() == 0;
    return serialOpen_ ? 0 : -1;
}

int DeviceConnection::close() {
    if (useTcp != 0) {
        tcp_.close();
    } else {
        serial_.close();
        serialOpen_ = false;
    }
    return 0;
}

int DeviceConnection::receiveRaw(std::uint8_t* buffer, int& length) {
    length = 0;
    if (useTcp != 0)
        return tcp_.receiveFrame(buffer, length);
    if (!serialOpen_)
        return -1;
    return serial_.receiveFrame(buffer, &length);
}

void DeviceConnection::noAnswer() {
    showWarning(kNoAnswerText);
    close();
}

int DeviceConnection::Transact(const std::string& text) {
    codec_.buildFrame(text);
    std::uint8_t ack[kAckBufferSize];
    int length = 0;
    if (useTcp != 0) {
        tcp_.sendFrame(codec_.wireFrame(), codec_.wireLength());
    } else {
        serial_.sendFrame(codec_.wireFrame(), codec_.wireLength());
        if (expectAck == 0) {
            std::this_thread::sleep_for(kUnacknowledgedPause);
            return 0;
        }
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
    if (useTcp != 0) {
        tcp_.flushQueue();
    } else if (serialOpen_ && serial_.commPort() != nullptr) {
        serial_.commPort()->flush(serial::Queue::Input);
    }
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

int DeviceConnection::ReadByteAnswer(std::uint8_t expectedCode) {
    const int offset = shortForm == 1 ? 10 : 11;
    if (!checkAnswer(expectedCode, offset))
        return -1;
    return codec_.answerByte(offset);
}

int DeviceConnection::ReadByteAt(std::uint8_t expectedCode, int offset) {
    if (!checkAnswer(expectedCode, offset))
        return -1;
    return codec_.answerByte(offset);
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
