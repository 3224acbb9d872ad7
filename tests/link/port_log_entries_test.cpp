#include "link/port_log_entries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/frame_log.h"
#include "tests/link/test_case_names.h"

namespace q93 {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string repeated(const std::string& text, std::size_t times) {
    std::string all;
    for (std::size_t i = 0; i < times; ++i)
        all += text;
    return all;
}

struct EntryCase {
    const char* name;
    Bytes frame;
    int direction;
    std::vector<std::string> lines;
};

class PortLogEntries : public ::testing::TestWithParam<EntryCase> {};

TEST_P(PortLogEntries, FormatEveryByteBehindTheDirection) {
    const EntryCase& row = GetParam();
    EXPECT_EQ(portLogEntries(row.frame.data(), static_cast<int>(row.frame.size()), row.direction),
              row.lines);
}

Bytes longFrame() {
    Bytes frame(677, 0x11);
    frame.back() = 0xFF;
    return frame;
}

// 676 bytes fill an entry of 2031 characters; the 677th continues on a line of its own.
const EntryCase kCases[] = {
    {"Sent", {0xFE, 0x00, 0xFF}, kFrameSent, {"-> FE 00 FF "}},
    {"ReceivedInUpperCase", {0xFE, 0x0a, 0xbc, 0xFF}, kFrameReceived, {"<- FE 0A BC FF "}},
    {"MissingAnswerIsThePrefixAlone", {}, kFrameReceived, {"<- "}},
    {"FullEntry", Bytes(676, 0xAB), kFrameSent, {"-> " + repeated("AB ", 676)}},
    {"LongerFrameContinues", longFrame(), kFrameReceived, {"<- " + repeated("11 ", 676), "<- FF "}},
    {"UnknownDirection", {0xFE, 0xFF}, 3, {}},
};

INSTANTIATE_TEST_SUITE_P(Frames, PortLogEntries, ::testing::ValuesIn(kCases), test::RowName());

}  // namespace
}  // namespace q93
