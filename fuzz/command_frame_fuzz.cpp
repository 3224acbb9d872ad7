// Command text in, frame out: the frame holds exactly the text's payload under a valid
// checksum, stuffing leaves no reserved byte between the ends and un-stuffs back to the
// frame, and the acknowledgement check reads a built acknowledgement as its code.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "base/frame_bytes.h"
#include "fuzz/fuzz_support.h"
#include "protocol/command_text.h"
#include "protocol/frame_codec.h"

namespace {

bool reserved(std::uint8_t byte) {
    return byte == q93::kStartByte || byte == q93::kEndByte;
}

// The payload written back as the command text the formatters produce.
std::string asCommandText(const std::vector<std::uint8_t>& payload) {
    std::string text;
    for (const std::uint8_t byte : payload) {
        char token[4];
        std::snprintf(token, sizeof token, "%02x,", byte);
        text += token;
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace q93;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string expanded = expandCommandText(text);
    FUZZ_CHECK(expanded.size() <= kMaxCommandText);
    const std::vector<std::uint8_t> payload = tokenisePayload(expanded);
    FUZZ_CHECK(payload.size() <= kMaxPayload);
    FUZZ_CHECK(commandPayload(asCommandText(payload)) == payload);

    const auto sequence = static_cast<std::uint8_t>(frameSequence.load());
    FrameCodec codec;
    codec.buildFrame(text);
    const std::uint8_t* built = codec.builtFrame();
    const int length = codec.buildLength();
    FUZZ_CHECK(length == static_cast<int>(payload.size()) + kMinFrameLength);
    FUZZ_CHECK(built[0] == kStartByte && built[length - 1] == kEndByte);
    FUZZ_CHECK(built[1] == 0 && built[2] == 0 && built[3] == sequence);
    FUZZ_CHECK(built[4] == payload.size());
    FUZZ_CHECK(std::equal(payload.begin(), payload.end(), built + 5));
    FUZZ_CHECK(checksumMatches(built, length));

    const std::uint8_t* wire = codec.wireFrame();
    const int wireLength = codec.wireLength();
    FUZZ_CHECK(wireLength >= length && wireLength <= kWireBufferSize);
    FUZZ_CHECK(wire[0] == kStartByte && wire[wireLength - 1] == kEndByte);
    FUZZ_CHECK(std::none_of(wire + 1, wire + wireLength - 1, reserved));

    std::vector<std::uint8_t> answer(wire, wire + wireLength);
    FUZZ_CHECK(unstuffFrame(answer.data(), wireLength, wireLength) == length);
    FUZZ_CHECK(std::equal(built, built + length, answer.begin()));

    std::vector<std::uint8_t> ack(wire, wire + wireLength);
    const int expected = payload.size() >= 2 && payload[0] == kAckCode ? payload[1] : kAckNoFrame;
    FUZZ_CHECK(checkAcknowledge(ack.data(), wireLength, wireLength) == expected);
    return 0;
}
