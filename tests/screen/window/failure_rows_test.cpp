// Failures of the location store as the main window meets them, which the neighbouring
// tests do not make happen: no LocationData, an encoder without tcp.txt, files that cannot
// be written.
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <functional>
#include <map>

#include "resources/templates/main_window_templates.h"
#include "screen/pages/property_page.h"
#include "screen/pages/property_sheet.h"
#include "tests/link/tcp_loopback_server.h"
#include "tests/screen/window/main_window_fixture.h"
#include "tests/support/config_home.h"

namespace q93::test {
namespace {

namespace fs = std::filesystem;

// Every entry of a folder with its bytes, a sub-folder as "<folder>".
std::map<std::string, std::string> folderContent(const std::string& folder) {
    std::map<std::string, std::string> content;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        content[name] = entry.is_directory() ? "<folder>" : readFileBytes(entry.path().string());
    }
    return content;
}

TEST_F(MainWindowTest, WithoutLocationDataTheTreeStaysEmptyAndNothingIsSaid) {
    fs::remove_all("LocationData");
    EXPECT_EQ(window().tree()->topLevelItemCount(), 0);
    EXPECT_EQ(window().sheet()->count(), 1);
    EXPECT_TRUE(seam.warnings.empty());
    EXPECT_FALSE(fs::exists("LocationData"));
}

struct CommandRow {
    const char* what;
    int preset;  // 0: the encoder itself
    int button;
};

// The window's commands that open a link to the selected encoder.
const CommandRow kLinkCommands[] = {
    {"Read on a preset", 1, kReadButtonId},
    {"Read on the encoder", 0, kReadButtonId},
    {"Update on a preset", 1, kUpdateButtonId},
};

// Without tcp.txt the port name is empty, which names no port; the stored files stay.
TEST_F(MainWindowTest, AnEncoderWithoutTcpTxtCannotOpenAnEmptyPortName) {
    const ConfigHome noPortsMapped;
    const std::string folder = encoderFolder("Hilltop", "Tower");
    ASSERT_TRUE(writePresetFile(folder + "Preset-1.dat", engineersPreset()));
    for (const CommandRow& row : kLinkCommands) {
        SCOPED_TRACE(row.what);
        seam.warnings.clear();
        ASSERT_TRUE(select(node(0, 0, row.preset)));
        const auto before = folderContent(folder);
        window().button(row.button)->click();
        EXPECT_EQ(seam.warnings, std::vector<std::string>{"'' kann nicht geöffnet werden!"});
        if (row.button == kReadButtonId) {
            EXPECT_EQ(folderContent(folder), before);
        }
    }
    EXPECT_EQ(node(0, 0)->text(0), "Tower");
}

// A refused connection is the open failing: its one message, and no time-out message after
// a second's wait for an answer that cannot come.
TEST_F(MainWindowTest, AnEncoderThatRefusesTheConnectionShowsOneMessage) {
    const int port = closedLoopbackPort();
    const std::string folder = encoderFolder("Hilltop", "Tower", tcpText(port));
    ASSERT_TRUE(writePresetFile(folder + "Preset-1.dat", engineersPreset()));
    for (const CommandRow& row : kLinkCommands) {
        SCOPED_TRACE(row.what);
        seam.warnings.clear();
        ASSERT_TRUE(select(node(0, 0, row.preset)));
        window().button(row.button)->click();
        EXPECT_EQ(seam.warnings,
                  std::vector<std::string>{"Keine Verbindung zu '127.0.0.1/127.0.0.1' auf Port '" +
                                           std::to_string(port) + "'!"});
    }
}

// Leaving a node writes its file only for an edit here, as neither file exists.
TEST_F(MainWindowTest, AFileThatCannotBeWrittenIsPassedOverOrKeepsTheEncoderSelected) {
    const std::string folder =
        encoderFolder("Hilltop", "Tower", "10.0.0.5\r\n5000\r\nTCP/IP\r\n3\r\n1\r\n");
    writeFileBytes(folder + "Preset-2.dat", std::string(200, '\x02'));
    // A folder in the place of a file: it can neither be written nor replaced.
    fs::create_directory(folder + "Preset-1.dat");
    fs::create_directory(folder + "device.dat");
    const auto before = folderContent(folder);
    const auto editActivePage = [this](int id) {
        window().sheet()->activePage()->controlAs<QLineEdit>(id)->setText("4.5");
    };

    ASSERT_TRUE(select(node(0, 0, 1)));
    editActivePage(1030);             // input level
    EXPECT_TRUE(select(node(0, 0)));  // the preset file is passed over
    editActivePage(1041);             // sensitivity
    EXPECT_EQ(folderContent(folder), before);
    EXPECT_FALSE(select(node(0, 0, 2)));  // device.dat is not: the encoder stays
    EXPECT_EQ(window().tree()->currentItem(), node(0, 0));
    EXPECT_EQ(window().sheet()->count(), 3);
    EXPECT_EQ(folderContent(folder), before);
    EXPECT_TRUE(seam.warnings.empty());
}

}  // namespace
}  // namespace q93::test
