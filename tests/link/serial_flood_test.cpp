#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "base/frame_bytes.h"
#include "base/frame_log.h"
#include "link/serial_link.h"
#include "tests/support/mapped_line.h"

namespace q93 {
namespace {

class FrameCounter : public FrameLogger {
public:
    FrameCounter() { installFrameLogger(this); }
    ~FrameCounter() override { installFrameLogger(nullptr); }
    void logFrame(const std::uint8_t*, int, int) override { ++frames; }
    int frames = 0;
};

// The far end keeps sending the given burst every 10 ms, for at most about 30 seconds, so
// that a receive which never ends still lets the test end, and shows it by the writer
// having run out.
class TalkingLine {
public:
    TalkingLine(test::PseudoTerminal& far, std::string burst)
        : thread_([this, &far, burst] {
              for (int round = 0; round < 3000 && !stop_; ++round) {
                  far.send(burst);
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              }
              ranOut_ = !stop_;
          }) {}
    ~TalkingLine() {
        stop_ = true;
        thread_.join();
    }
    bool ranOut() const { return ranOut_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> ranOut_{false};
    std::thread thread_;
};

TEST(SerialLinkFlood, EndlessStartBytesEndTheReceiveWhileTheLineStillTalks) {
    test::MappedLine line;
    line.writeIni("");
    FrameCounter log;
    SerialLink link;
    link.portName = line.portName();
    link.baudRate = 9600;
    ASSERT_EQ(link.open(), 0);

    TalkingLine talking(line.far(), std::string(32, static_cast<char>(kStartByte)));
    std::uint8_t buffer[kSerialFrameCapacity] = {};
    int length = -1;
    EXPECT_EQ(link.receiveFrame(buffer, length), -1);
    EXPECT_FALSE(talking.ranOut());
    EXPECT_EQ(length, -1);
    EXPECT_EQ(log.frames, 0);
}

}  // namespace
}  // namespace q93
