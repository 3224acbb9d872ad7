// Received bytes in the wire buffer: un-stuffing stays inside the buffer and the bytes up to
// the first end byte, re-stuffing its result gets the result back (and the very input when
// that was stuffed as a frame should be), and the acknowledgement check gives only its codes.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "base/frame_bytes.h"
#include "fuzz/fuzz_support.h"
#include "protocol/crc16.h"
#include "protocol/frame_codec.h"

namespace {

using q93::kEndByte;
using q93::kEscapeByte;
using q93::kStartByte;

// Whether bytes 1 to end-1 are as stuffing leaves them: no start byte, and every escape
// followed, before the end byte, by one of the three codes.
bool stuffedAsSent(const std::uint8_t* bytes, int end) {
    for (int i = 1; i < end; ++i) {
        if (bytes[i] == kStartByte)
            return false;
        if (bytes[i] == kEscapeByte && (i + 1 >= end || bytes[++i] > 0x02))
            return false;
    }
    return true;
}

bool checksumHolds(const std::uint8_t* frame, int length) {
    if (length < q93::kMinFrameLength)
        return false;
    const std::uint16_t crc = q93::crc16Genibus(frame + 1, static_cast<std::size_t>(length - 4));
    return frame[length - 3] == (crc >> 8) && frame[length - 2] == (crc & 0xFF);
}

// One buffer of the given capacity holding the first bytes received.
void checkUnstuffing(const std::uint8_t* data, std::size_t size, int capacity) {
    using namespace q93;
    // The count a link reports is not trusted: the buffer is exactly as large as its
    // capacity, so a read past it is caught.
    const int received = static_cast<int>(std::min<std::size_t>(size, INT_MAX));
    const int searched = std::min(capacity, kEndByteSearchLimit + 1);
    const int end = capacity > 0 && data[0] == kStartByte
                        ? static_cast<int>(std::find(data + 1, data + searched, kEndByte) - data)
                        : searched;

    std::vector<std::uint8_t> frame(data, data + capacity);
    const int length = unstuffFrame(frame.data(), received, capacity);
    if (end >= searched) {
        FUZZ_CHECK(length == -1);
        FUZZ_CHECK(std::equal(frame.begin(), frame.end(), data));
    } else {
        FUZZ_CHECK(length >= 2 && length <= end + 1);
        FUZZ_CHECK(frame[0] == kStartByte && frame[length - 1] == kEndByte);
        FUZZ_CHECK(std::equal(frame.begin() + end + 1, frame.end(), data + end + 1));

        std::vector<std::uint8_t> stuffed(2 * static_cast<std::size_t>(length));
        const int stuffedLength =
            stuffFrame(frame.data(), length, stuffed.data(), static_cast<int>(stuffed.size()));
        FUZZ_CHECK(stuffedLength >= length);
        if (stuffedAsSent(data, end)) {
            FUZZ_CHECK(stuffedLength == end + 1);
            FUZZ_CHECK(std::equal(data, data + end + 1, stuffed.begin()));
        }
        // Re-stuffing the start bytes and odd escapes a sender left raw can push the end
        // byte past the search limit, where it must stay unseen.
        const int again = unstuffFrame(stuffed.data(), stuffedLength, stuffedLength);
        if (stuffedLength > kEndByteSearchLimit + 1) {
            FUZZ_CHECK(again == -1);
        } else {
            FUZZ_CHECK(again == length);
            FUZZ_CHECK(std::equal(frame.begin(), frame.begin() + length, stuffed.begin()));
        }
    }

    std::vector<std::uint8_t> ack(data, data + capacity);
    const int code = checkAcknowledge(ack.data(), received, capacity);
    int expected = kAckNoFrame;
    if (length >= 0 && !checksumHolds(frame.data(), length))
        expected = kAckBadChecksum;
    else if (length >= kMinFrameLength + 2 && frame[5] == kAckCode)
        expected = frame[6];
    FUZZ_CHECK(code == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace q93;
    // The wire buffer of a connection, and a buffer as long as the input, where the end byte
    // search limit is reached.
    const int wireCapacity = static_cast<int>(std::min<std::size_t>(size, kWireBufferSize));
    checkUnstuffing(data, size, wireCapacity);
    checkUnstuffing(data, size, static_cast<int>(std::min<std::size_t>(size, INT_MAX)));

    std::vector<std::uint8_t> expected(data, data + wireCapacity);
    const int length = unstuffFrame(expected.data(), wireCapacity, wireCapacity);
    FrameCodec codec;
    std::copy(data, data + wireCapacity, codec.receiveBuffer());
    codec.setReceivedLength(static_cast<int>(std::min<std::size_t>(size, INT_MAX)));
    FUZZ_CHECK(codec.unstuffAnswer() == (length >= 0));
    FUZZ_CHECK(codec.wireLength() == (length >= 0 ? length : wireCapacity));
    FUZZ_CHECK(std::equal(expected.begin(), expected.end(), codec.receiveBuffer()));
    return 0;
}
