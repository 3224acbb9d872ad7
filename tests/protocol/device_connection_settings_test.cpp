#include <gtest/gtest.h>

#include "protocol/connection_settings.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

struct SettingsFile {
    const char* content;
    ConnectionSettings expected;
};

TEST(ConnectionSettingsFile, ReadAsTheLocationStoreReadsIt) {
    const SettingsFile cases[] = {
        {"10.0.0.5\r\n5000\r\nTCP/IP\r\n3\r\n1\r\n", {"10.0.0.5", "5000", "TCP/IP", 3, 1}},
        {"\n\nCOM3\n5\n0\n", {"", "", "COM3", 5, 0}},
        // A line of more than 19 characters is read in pieces, the rest as the next line.
        {"123456789012345678901234\n5000\nCOM1\n", {"1234567890123456789", "01234", "5000", 0, 0}},
        {"1.2.3.4\n80\nTCP/IP\nfast\n-1\n", {"1.2.3.4", "80", "TCP/IP", 0, -1}},
        // CR LF counts as one character, as a text-mode read takes it: a line of 18 fits.
        {"123456789012345678\r\n7\r\nCOM2\r\n1\r\n0\r\n",
         {"123456789012345678", "7", "COM2", 1, 0}},
    };
    test::TempDir dir;
    for (const SettingsFile& row : cases) {
        SCOPED_TRACE(row.content);
        test::writeFileBytes(dir.file("tcp.txt"), row.content);
        ConnectionSettings got;
        ASSERT_TRUE(readConnectionSettings(dir.file("tcp.txt"), got));
        EXPECT_EQ(got.ipAddress, row.expected.ipAddress);
        EXPECT_EQ(got.tcpPort, row.expected.tcpPort);
        EXPECT_EQ(got.portName, row.expected.portName);
        EXPECT_EQ(got.speedIndex, row.expected.speedIndex);
        EXPECT_EQ(got.readAck, row.expected.readAck);
    }
}

// A line with no break within the 19 characters the store reads at once did not come from
// the tool: the read says which, and still gives the values as the store reads them.
TEST(ConnectionSettingsFile, ALineThatDoesNotFitMakesTheFileDoubtful) {
    const struct {
        const char* content;
        const char* doubt;
    } cases[] = {
        {"10.0.0.5\r\n5000\r\nTCP/IP\r\n3\r\n1\r\n", ""},
        {"123456789012345678\r\n7\r\nCOM2\r\n1\r\n0\r\n", ""},
        {"123456789012345678\n7\nCOM2\n1\n0\n", ""},
        {"10.0.0.5\n5000\nTCP/IP\n3\n1", ""},
        {"abcdefghijklmnopqrstuvwxyz.example.com\r\n5000\r\nTCP/IP\r\n3\r\n1\r\n",
         "line 1 longer than 18 characters"},
        {"1234567890123456789\r\n7\r\nCOM2\r\n1\r\n0\r\n", "line 1 longer than 18 characters"},
        {"1234567890123456789\n7\nCOM2\n1\n0\n", "line 1 longer than 18 characters"},
        {"10.0.0.5\n50000000000000000000\nTCP/IP\n3\n1\n", "line 2 longer than 18 characters"},
        {"10.0.0.5\r\n5000\r\nTCP/IP\r\n3\r\n0000000000000000000001\r\n",
         "line 5 longer than 18 characters"},
    };
    test::TempDir dir;
    for (const auto& row : cases) {
        SCOPED_TRACE(row.content);
        test::writeFileBytes(dir.file("tcp.txt"), row.content);
        ConnectionSettings got;
        ASSERT_TRUE(readConnectionSettings(dir.file("tcp.txt"), got));
        EXPECT_EQ(got.doubt, row.doubt);
    }
    ConnectionSettings got;
    test::writeFileBytes(dir.file("tcp.txt"), cases[4].content);
    ASSERT_TRUE(readConnectionSettings(dir.file("tcp.txt"), got));
    EXPECT_EQ(got.tcpPort, "tuvwxyz.example.com");
    EXPECT_EQ(got.speedIndex, 5000);
    // A doubtful read does not linger into the next.
    test::writeFileBytes(dir.file("tcp.txt"), cases[0].content);
    ASSERT_TRUE(readConnectionSettings(dir.file("tcp.txt"), got));
    EXPECT_EQ(got.doubt, "");
}

TEST(ConnectionSettingsFile, AMissingFileEmptiesTheTextsAndKeepsTheNumbers) {
    test::TempDir dir;
    ConnectionSettings settings{"10.0.0.5", "5000", "TCP/IP", 4, 0};
    EXPECT_FALSE(readConnectionSettings(dir.file("tcp.txt"), settings));
    EXPECT_EQ(settings.ipAddress + settings.tcpPort + settings.portName, "");
    EXPECT_EQ(settings.speedIndex, 4);
    EXPECT_EQ(settings.readAck, 0);
}

}  // namespace
}  // namespace q93
