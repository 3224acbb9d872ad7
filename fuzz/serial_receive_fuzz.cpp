// The serial link's receive loop on a port that replays the input as the line's bytes, frame
// after frame until a receive fails, against the rule told by positions: the first start
// byte within the character limit, repeated start bytes dropped, then everything up to the
// end byte or the full buffer.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/frame_bytes.h"
#include "fuzz/fuzz_support.h"
#include "link/serial_link.h"
#include "serial/comm_port.h"
#include "serial/port_error.h"

namespace {

using namespace q93;

// Every byte is waiting at once and nothing ever arrives later, so a receive that runs out
// of bytes spends its idle budget in polls that cost no time.
class ReplayPort : public serial::CommPort {
public:
    ReplayPort(const std::uint8_t* bytes, std::size_t count) : bytes_(bytes), count_(count) {}

    std::size_t taken() const { return at_; }

    serial::PortSettings settings() const override { return settings_; }
    int apply(const serial::PortSettings& wanted) override {
        settings_ = wanted;
        return 0;
    }
    int bytesWaiting() override { return static_cast<int>(count_ - at_); }
    int readChar() override {
        return at_ < count_ ? int{bytes_[at_++]} : int{serial::CL_ERR_NODATA};
    }
    int write(const std::uint8_t*, int length) override { return length; }
    int flush(serial::Queue) override { return 0; }
    bool waitForInput(int) override { return at_ < count_; }

private:
    const std::uint8_t* bytes_;
    std::size_t count_;
    std::size_t at_ = 0;
    serial::PortSettings settings_;
};

constexpr int kLimit = kSerialFrameCapacity - 1;

// The frame the line's bytes give, or an empty one for a failed receive.
std::vector<std::uint8_t> frameByRule(const std::uint8_t* line, std::size_t count) {
    const auto position = [&](std::size_t from, std::size_t to, auto matches) {
        to = std::min(to, count);
        while (from < to && !matches(line[from]))
            ++from;
        return from;
    };
    const auto is = [](std::uint8_t wanted) {
        return [wanted](std::uint8_t byte) { return byte == wanted; };
    };
    const std::size_t start = position(0, kLimit + 1, is(kStartByte));
    if (start >= std::min<std::size_t>(count, kLimit + 1))
        return {};
    // Repeats of the start byte count towards the character limit, the start byte too.
    const std::size_t first = position(start + 1, start + 1 + kLimit,
                                       [](std::uint8_t byte) { return byte != kStartByte; });
    if (first == count || first == start + 1 + kLimit)
        return {};
    const std::size_t full = first + kLimit;
    const std::size_t end = position(first, full, is(kEndByte));
    if (end != full && end == count)
        return {};
    std::vector<std::uint8_t> frame{kStartByte};
    frame.insert(frame.end(), line + first, line + (end == full ? end : end + 1));
    return frame;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReplayPort port(data, size);
    const WaitForInput noWait = [](int) {};
    // Exactly the size receiveFrame demands, so that a write past it is caught.
    const auto buffer = std::make_unique<std::uint8_t[]>(kSerialFrameCapacity);
    for (;;) {
        const std::size_t from = port.taken();
        const std::vector<std::uint8_t> expected = frameByRule(data + from, size - from);
        // Replayed bytes arrive at once; only the rules on characters may end a receive.
        const int length =
            receiveSerialFrame(port, noWait, 5000, std::chrono::hours(1), buffer.get());
        if (length < 0) {
            FUZZ_CHECK(expected.empty());
            return 0;
        }
        FUZZ_CHECK(length >= 2 && length <= kSerialFrameCapacity);
        FUZZ_CHECK(
            std::equal(expected.begin(), expected.end(), buffer.get(), buffer.get() + length));
    }
}
