#include "tests/screen/display/late_peer.h"

#include <bit>
#include <chrono>

namespace q93::test {
namespace {

constexpr auto kLateBy = std::chrono::milliseconds(1500);

void appendFloat(Bytes& bytes, double value) {
    const auto bits = std::bit_cast<std::uint32_t>(static_cast<float>(value));
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

Bytes levelAnswer(std::uint8_t id, int n) {
    Bytes payload{0x2D, 0, 0x4D, 0x49, id};
    if (id == 0x20) {
        appendFloat(payload, leftReading(n));
        appendFloat(payload, rightReading(n));
    } else {
        for (int i = 0; i < 6; ++i)
            appendFloat(payload, i == 0 ? mpxReading(n) : 0.0);
    }
    payload[1] = static_cast<std::uint8_t>(payload.size() - 2);
    return encoderFrame(payload);
}

}  // namespace

ConnectionSettings tcpEncoder(int port) {
    ConnectionSettings settings;
    settings.ipAddress = "127.0.0.1";
    settings.tcpPort = std::to_string(port);
    settings.portName = "TCP/IP";
    return settings;
}

double leftReading(int n) {
    return 10.0 + n;
}
double rightReading(int n) {
    return 5.0 + n;
}
double mpxReading(int n) {
    return 50.0 + n;
}

LatePeer::LatePeer(int lateQuery, bool holdsLine)
    : lateQuery_(lateQuery),
      holdsLine_(holdsLine),
      server_([this](const Bytes& request) { return reply(request); }) {}

LatePeer::~LatePeer() {
    std::lock_guard lock(lateMutex_);
    if (late_.joinable())
        late_.join();
}

Bytes LatePeer::reply(const Bytes& request) {
    const int n = ++queries_;
    const Bytes answer = levelAnswer(request.size() > 4 ? request[4] : 0x20, n);
    Bytes acknowledgement = encoderFrame({0x18, 0x00});
    if (n != lateQuery_) {
        acknowledgement.insert(acknowledgement.end(), answer.begin(), answer.end());
        return acknowledgement;
    }
    if (holdsLine_) {
        server_.send(acknowledgement);
        std::this_thread::sleep_for(kLateBy);
        return answer;
    }
    std::lock_guard lock(lateMutex_);
    late_ = std::thread([this, answer] {
        std::this_thread::sleep_for(kLateBy);
        server_.send(answer);
    });
    return acknowledgement;
}

}  // namespace q93::test
