// The TCP reader's cutting of the received stream, against the rule told by positions: a
// frame runs from a start byte to the first end byte after it, unless that lies beyond the
// reader's buffer, and the same frames come out however the socket chunks the bytes.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/frame_bytes.h"
#include "fuzz/fuzz_support.h"
#include "link/tcp_link.h"

namespace {

using Frames = std::vector<std::vector<std::uint8_t>>;

Frames framesByRule(const std::uint8_t* stream, std::size_t count) {
    Frames frames;
    const std::uint8_t* const last = stream + count;
    const std::uint8_t* at = stream;
    for (;;) {
        const std::uint8_t* start = std::find(at, last, q93::kStartByte);
        if (start == last)
            return frames;
        const auto room = std::min<std::ptrdiff_t>(q93::kTcpAssemblySize, last - start);
        const std::uint8_t* end = std::find(start + 1, start + room, q93::kEndByte);
        if (end == start + room) {
            if (room < q93::kTcpAssemblySize)
                return frames;  // still open when the stream stops
            at = start + room;  // given up; the hunt goes on after it
            continue;
        }
        frames.emplace_back(start, end + 1);
        at = end + 1;
    }
}

q93::TcpFrameCutter::FrameHandler collectInto(Frames& frames) {
    return [&frames](const std::uint8_t* frame, int length) {
        FUZZ_CHECK(length >= 2 && length <= q93::kTcpAssemblySize);
        frames.emplace_back(frame, frame + length);
    };
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace q93;
    if (size == 0)
        return 0;
    const std::uint8_t seed = data[0];
    const std::uint8_t* stream = data + 1;
    const std::size_t count = size - 1;

    Frames whole;
    TcpFrameCutter{}.feed(stream, count, collectInto(whole));
    FUZZ_CHECK(whole == framesByRule(stream, count));

    Frames pieces;
    TcpFrameCutter cutter;
    const TcpFrameCutter::FrameHandler handler = collectInto(pieces);
    fuzz::feedInPieces(stream, count, seed, [&](const std::uint8_t* bytes, std::size_t n) {
        cutter.feed(bytes, n, handler);
    });
    FUZZ_CHECK(pieces == whole);
    return 0;
}
