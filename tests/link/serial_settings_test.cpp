#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "link/port_table.h"
#include "link/serial_link.h"
#include "link/serial_settings.h"
#include "tests/support/mapped_line.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

using test::MappedLine;

TEST(SerialSettings, NoFileGivesEightNoneOneAndNoHandshake) {
    test::TempDir empty;
    MappedLine line;  // puts XDG_CONFIG_HOME back when the test ends
    setenv("XDG_CONFIG_HOME", empty.path().c_str(), 1);
    SerialLink link;
    EXPECT_EQ(link.dataBits, 8);
    EXPECT_EQ(link.parity, 'N');
    EXPECT_EQ(link.stopBits, 1);
    EXPECT_EQ(link.handshake, "none");
    EXPECT_EQ(link.receiveTimeoutMs, 5000);
}

struct SettingsCase {
    std::string lines;
    int dataBits;
    char parity;
    int stopBits;
    std::string handshake;
};

TEST(SerialSettings, ValuesAreConvertedAsTheProfileAlwaysWas) {
    const std::vector<SettingsCase> cases = {
        {"DataBits=7\nParity=even\n", 7, 'E', 1, "none"},
        {"Parity=Even\n", 8, 'N', 1, "none"},
        {"Parity=odd\nStopBits=2\n", 8, 'O', 2, "none"},
        {"Parity=mark\n", 8, 'N', 1, "none"},
        {"DataBits=x\n", 0, 'N', 1, "none"},
        {"DataBits=  -7abc\n", -7, 'N', 1, "none"},
        {"DataBits=+6\n", 6, 'N', 1, "none"},
        {"DataBits=99999999999\n", INT_MAX, 'N', 1, "none"},
        {"databits=5\nPARITY=\"odd\"\n", 5, 'O', 1, "none"},
        {"; DataBits=7\nHandshake=rts/cts\n", 8, 'N', 1, "rts/cts"},
        {"Handshake=" + std::string(60, 'h') + "\n", 8, 'N', 1, std::string(50, 'h')},
    };
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.lines);
        MappedLine line;
        line.writeIni(c.lines);
        SerialLink link;
        EXPECT_EQ(link.dataBits, c.dataBits);
        EXPECT_EQ(link.parity, c.parity);
        EXPECT_EQ(link.stopBits, c.stopBits);
        EXPECT_EQ(link.handshake, c.handshake);
    }
}

TEST(SerialSettings, KeysOutsideTheSettingsSectionAreNotTaken) {
    MappedLine line;
    line.writeIni("", "DataBits=7\n");
    EXPECT_EQ(SerialLink().dataBits, 8);
}

struct NameCase {
    const char* name;
    int index;
};

TEST(PortTable, NamesMapByPrefixTwoDigitNamesFirst) {
    const std::vector<NameCase> cases = {
        {"COM1", 0},   {"COM5", 4},     {"COM9", 8},   {"COM10", 9},  {"COM16", 15},
        {"COM66", 65}, {"COM67", 5},    {"COM100", 9}, {"COM0", 100}, {"com1", 100},
        {"", 100},     {"TCP/IP", 100}, {"COM", 100},  {"COM1x", 0},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(portIndexForName(c.name), c.index) << c.name;
    }
}

}  // namespace
}  // namespace q93
