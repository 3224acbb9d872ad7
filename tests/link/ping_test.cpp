#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/icmp_echo.h"
#include "link/ping.h"
#include "tests/link/echo_sockets.h"
#include "tests/link/test_case_names.h"

namespace q93 {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kIdentifier = 0x1234;
constexpr std::uint16_t kSequence = 7;
constexpr std::size_t kDataSize = 32;

// What the peer sends back for a request: the same message with type 0 (echo reply).
Bytes replyTo(Bytes request, std::size_t dataBytePatched = 0) {
    request[0] = 0;
    if (dataBytePatched > 0)
        request[8 + dataBytePatched] = 'F';
    return request;
}

struct ReplyCase {
    const char* name;
    Bytes message;
    bool checkIdentifier;
    EchoReplyMatch match;
};

class EchoReply : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(EchoReply, IsCheckedForSizeAndContent) {
    const ReplyCase& row = GetParam();
    EXPECT_EQ(matchEchoReply(row.message.data(), row.message.size(), kIdentifier, kSequence,
                             kDataSize, row.checkIdentifier),
              row.match);
}

const Bytes kRequest = buildEchoRequest(kIdentifier, kSequence, kDataSize);

const ReplyCase kReplies[] = {
    {"TheReply", replyTo(kRequest), true, EchoReplyMatch::Good},
    {"OurOwnRequestOnLoopback", kRequest, true, EchoReplyMatch::NotOurs},
    {"AnotherSequence", replyTo(buildEchoRequest(kIdentifier, 8, kDataSize)), true,
     EchoReplyMatch::NotOurs},
    {"IdentifierChosenByTheEchoSocket", replyTo(buildEchoRequest(0x4321, kSequence, kDataSize)),
     false, EchoReplyMatch::Good},
    {"ShortData", replyTo(buildEchoRequest(kIdentifier, kSequence, 31)), true,
     EchoReplyMatch::Wrong},
    {"OtherContent", replyTo(kRequest, 12), true, EchoReplyMatch::Wrong},
};

INSTANTIATE_TEST_SUITE_P(Messages, EchoReply, ::testing::ValuesIn(kReplies), test::RowName());

// By number, and by name through the resolver (the hosts file answers for localhost).
TEST(Ping, LoopbackAnswersWhereEchoSocketsArePermitted) {
    for (const char* host : {"127.0.0.1", "localhost"}) {
        std::string address = "unchanged";
        int echoTimeMs = -1;
        const bool answered = pingHost(host, address, echoTimeMs, 50, 3000, 32);
        if (test::echoSocketsPermitted()) {
            ASSERT_TRUE(answered) << host;
            EXPECT_EQ(address, "127.0.0.1");
            EXPECT_GE(echoTimeMs, 0);
        } else {
            EXPECT_FALSE(answered) << host;
            EXPECT_EQ(address, "unchanged");
        }
    }
    // A text of digits and dots is never looked up: one that does not parse fails at once.
    std::string address;
    int echoTimeMs = 0;
    EXPECT_FALSE(pingHost("127.0.0.300", address, echoTimeMs, 50, 3000, 32));
}

}  // namespace
}  // namespace q93
