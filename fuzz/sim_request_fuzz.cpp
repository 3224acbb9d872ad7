// The simulator's side of the line: every frame it cuts from the stream runs from a start to
// an end byte, a request it takes rebuilds to the very frame it came in, a reply never both
// refuses and acts, an answer starts with the head the tool checks and reaches the tool's
// wire buffer whole, and a value set reads back by the matching query.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "base/frame_bytes.h"
#include "fuzz/fuzz_support.h"
#include "protocol/crc16.h"
#include "protocol/frame_codec.h"
#include "sim/answer_frames.h"
#include "sim/encoder_model.h"
#include "sim/frame_reader.h"
#include "sim/parameter_table.h"
#include "sim/request_handler.h"

namespace {

using namespace q93;
using sim::Payload;

constexpr std::uint8_t kParameterCode = 0x2D;

void checkAnswerReachesTool(const Payload& answer) {
    const std::vector<std::uint8_t> wire = sim::answerFrame(answer, 0x5A);
    FUZZ_CHECK(wire.size() <= static_cast<std::size_t>(kWireBufferSize));
    FrameCodec codec;
    std::copy(wire.begin(), wire.end(), codec.receiveBuffer());
    codec.setReceivedLength(static_cast<int>(wire.size()));
    FUZZ_CHECK(codec.unstuffAnswer());
    for (std::size_t i = 0; i < answer.size(); ++i)
        FUZZ_CHECK(codec.answerByte(5 + static_cast<int>(i)) == answer[i]);
}

void checkHead(const Payload& request, const Payload& answer) {
    if (request[0] == kParameterCode) {
        FUZZ_CHECK(answer.size() >= 5 && answer[0] == kParameterCode);
        FUZZ_CHECK(answer[1] == answer.size() - 2);
        FUZZ_CHECK(std::equal(request.begin() + 2, request.begin() + 5, answer.begin() + 2));
    } else if (request[0] == 0x17 && request[1] == 0x02) {
        FUZZ_CHECK(answer.size() == 3 && answer[0] == request[2] && answer[1] == request[3]);
    } else {
        FUZZ_CHECK(request[0] == 0x17 && answer.size() == 9 && answer[0] == 0x0D);
    }
}

// After a parameter set: the query of the same field, in the same form, answers the value.
void checkSetReadsBack(sim::RequestHandler& handler, const Payload& set) {
    const bool indexed = sim::writeIdIsIndexed(set[4]);
    const sim::ParameterRow* row = sim::findWriteRow(set[4], indexed ? set[6] : -1);
    FUZZ_CHECK(row != nullptr);
    const auto size = static_cast<std::size_t>(sim::wireSize(row->wire));
    const std::span<const std::uint8_t> value(set.data() + set.size() - size, size);
    if (row->wire == sim::Wire::Float) {
        float number;
        std::memcpy(&number, value.data(), sizeof number);
        if (std::isnan(number))
            return;  // kept as a double, a NaN need not keep its bits
    }
    Payload query(set.begin(), set.end() - static_cast<std::ptrdiff_t>(size));
    query[1] = static_cast<std::uint8_t>(query.size() - 2);
    query[4] = row->readId;
    const sim::Reply reply = handler.handle(query);
    FUZZ_CHECK(reply.known && reply.answer && reply.answer->size() >= size);
    FUZZ_CHECK(std::equal(value.begin(), value.end(), reply.answer->end() - size));
}

void checkRequest(sim::RequestHandler& handler, std::span<const std::uint8_t> raw) {
    FUZZ_CHECK(raw.size() >= 2 && raw.size() <= sim::FrameReader::kMaxFrameBytes);
    FUZZ_CHECK(raw.front() == kStartByte && raw.back() == kEndByte);
    FUZZ_CHECK(std::find(raw.begin() + 1, raw.end(), kStartByte) == raw.end());
    FUZZ_CHECK(std::find(raw.begin(), raw.end() - 1, kEndByte) == raw.end() - 1);

    const sim::DecodedRequest request = sim::decodeRequest(raw);
    FUZZ_CHECK(std::string_view(sim::describeCheck(request.check)) != "?");
    if (request.check != sim::RequestCheck::Ok) {
        FUZZ_CHECK(request.payload.empty());
        return;
    }
    // The two bytes after the start byte are always sent as zeros and mean nothing to the
    // simulator, so it takes a request whatever they hold; the rest is the frame's layout.
    std::vector<std::uint8_t> rebuilt(request.frame.begin(), request.frame.begin() + 5);
    rebuilt.insert(rebuilt.end(), request.payload.begin(), request.payload.end());
    const std::uint16_t crc = crc16Genibus(rebuilt.data() + 1, rebuilt.size() - 1);
    rebuilt.insert(rebuilt.end(), {static_cast<std::uint8_t>(crc >> 8),
                                   static_cast<std::uint8_t>(crc & 0xFF), kEndByte});
    FUZZ_CHECK(rebuilt == request.frame && request.frame[4] == request.payload.size());

    const sim::Reply reply = handler.handle(request.payload);
    FUZZ_CHECK(!reply.what.empty());
    FUZZ_CHECK(reply.changedPreset >= 0 && reply.changedPreset <= sim::kPresetCount);
    if (!reply.known) {
        FUZZ_CHECK(!reply.answer && reply.changedPreset == 0 && !reply.changedDevice);
        return;
    }
    if (reply.answer) {
        FUZZ_CHECK(reply.changedPreset == 0 && !reply.changedDevice);
        checkHead(request.payload, *reply.answer);
        checkAnswerReachesTool(*reply.answer);
    } else if (request.payload[0] == kParameterCode) {
        FUZZ_CHECK(reply.changedPreset > 0 || reply.changedDevice);
        checkSetReadsBack(handler, request.payload);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The same blocks and clock for every input, so that an input replays alone as it ran.
    static sim::EncoderModel model;
    static const sim::EncoderModel factory;
    for (int n = 1; n <= sim::kPresetCount; ++n)
        model.preset(n) = factory.preset(n);
    model.device() = factory.device();
    model.setClock({.year = 24, .month = 1, .day = 1});
    sim::RequestHandler handler(model);
    sim::FrameReader reader;
    std::size_t framed = 0;
    const sim::FrameReader::FrameHandler onFrame = [&](std::span<const std::uint8_t> raw) {
        framed += raw.size();
        checkRequest(handler, raw);
    };
    fuzz::feedInPieces(data + 1, size - 1, data[0], [&](const std::uint8_t* bytes, std::size_t n) {
        reader.feed(bytes, n, onFrame);
    });
    FUZZ_CHECK(reader.droppedBytes() + framed + reader.reset() <= size - 1);
    return 0;
}
