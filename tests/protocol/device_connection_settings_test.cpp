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
