// What the tree files and the window sends, against real folders and the real q93sim: folder
// names in the Windows code page, nodes without a file, files that cannot be written.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QLineEdit>
#include <QtTest/QTest>
#include <filesystem>
#include <set>

#include "protocol/parameter_set.h"
#include "resources/templates/main_window_templates.h"
#include "screen/pages/adjust_prop.h"
#include "screen/pages/property_sheet.h"
#include "tests/screen/window/main_window_fixture.h"

namespace q93::test {
namespace {

namespace fs = std::filesystem;

constexpr int kInputLevelEdit = 1030;   // Input page
constexpr int kSensitivityEdit = 1041;  // Settings page

// Every file and folder under `root`, relative to it.
std::set<std::string> everythingUnder(const std::string& root) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        names.insert(fs::relative(entry.path(), root).string());
    return names;
}

QLineEdit* edit(MainWindow& window, int id) {
    return window.sheet()->activePage()->controlAs<QLineEdit>(id);
}

bool greyed(const QTreeWidgetItem* item) {
    const QColor grey = item->treeWidget()->palette().color(QPalette::Disabled, QPalette::Text);
    return item->data(0, Qt::ForegroundRole).value<QBrush>().color() == grey;
}

// A file nobody can replace while the object lives: immutable as root, else in a folder
// without write permission.
class UnwritableFile {
public:
    explicit UnwritableFile(std::string path) : path_(std::move(path)) {
        immutable_ = setImmutable(true);
        if (!immutable_)
            fs::permissions(fs::path(path_).parent_path(), kWrite, fs::perm_options::remove);
    }
    ~UnwritableFile() {
        if (immutable_)
            setImmutable(false);
        else
            fs::permissions(fs::path(path_).parent_path(), fs::perms::owner_write,
                            fs::perm_options::add);
    }

private:
    static constexpr fs::perms kWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

    bool setImmutable(bool on) const {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        int flags = 0;
        bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0)
            ::close(fd);
        return done;
    }

    std::string path_;
    bool immutable_ = false;
};

TEST_F(MainWindowWithSim, FoldersNamedInTheWindowsCodePageShowDecodedAndReachTheirOwnFiles) {
    const std::string site = "K\xf6ln";  // Köln in Windows-1252
    const std::string encoder =
        "Br\xfc"
        "cke";  // Brücke
    fs::create_directories(simStore());
    ASSERT_TRUE(writePresetFile(simStore() + "Preset-1.dat", engineersPreset()));
    startSim({}, site, encoder);
    PresetParameters stored;
    stored.presetNumber = 1;  // as the tool stores it, so that a rewrite changes no byte
    stored.inputLevel = 20;
    stored.maxDeviation = 60;
    ASSERT_TRUE(writePresetFile(folder + "Preset-1.dat", stored));
    DeviceParameters device;
    device.sensitivity40k = 3;
    ASSERT_TRUE(writeDeviceFile(folder + "device.dat", device));
    const std::string storedBytes = readFileBytes(folder + "Preset-1.dat");
    const std::set<std::string> layout = everythingUnder("LocationData");

    EXPECT_EQ(node(0)->text(0), QString::fromUtf8("Köln"));
    EXPECT_EQ(node(0, 0)->text(0), QString::fromUtf8("Brücke - 127.0.0.1"));
    ASSERT_TRUE(select(node(0, 0, 1)));
    EXPECT_EQ(sentPart(params().preset), sentPart(stored));
    EXPECT_EQ(edit(window(), kInputLevelEdit)->text(), "20.0");
    EXPECT_DOUBLE_EQ(params().device.sensitivity40k, 3);

    ASSERT_TRUE(select(node(0, 0)));
    ASSERT_TRUE(select(node(0)));  // device.dat can be written, so the encoder can be left
    EXPECT_EQ(readFileBytes(folder + "Preset-1.dat"), storedBytes);
    EXPECT_EQ(everythingUnder("LocationData"), layout);

    ASSERT_TRUE(select(node(0, 0, 1)));
    click(kReadButtonId);
    EXPECT_TRUE(seam.warnings.empty()) << seam.warnings.front();
    EXPECT_EQ(sentPart(params().preset), sentPart(engineersPreset()));
    edit(window(), kInputLevelEdit)->setText("33.5");
    click(kUpdateButtonId);
    EXPECT_TRUE(seam.warnings.empty()) << seam.warnings.front();
    PresetParameters held;
    ASSERT_EQ(readPresetFile(simStore() + "Preset-1.dat", held), 200);
    EXPECT_DOUBLE_EQ(held.inputLevel, 33.5);
    EXPECT_EQ(everythingUnder("LocationData"), layout);
}

TEST_F(MainWindowWithSim, NodesWithoutAFileShowGreyedAndGetOneOnlyForAnEditOrARead) {
    fs::create_directories(simStore());
    ASSERT_TRUE(writePresetFile(simStore() + "Preset-6.dat", engineersPreset()));
    startSim();
    // Values of another encoder in the parameter set, as the node shown before leaves them.
    encoderFolder("Hilltop", "Tower-2");
    PresetParameters other;
    other.inputLevel = 11;
    ASSERT_TRUE(writePresetFile("./LocationData/Hilltop/Tower-2/Preset-1.dat", other));
    ASSERT_TRUE(select(node(0, 1, 1)));
    EXPECT_FALSE(greyed(node(0, 1, 1)));
    EXPECT_TRUE(greyed(node(0, 1, 2)));
    EXPECT_FALSE(greyed(node(0)));

    for (int preset = 1; preset <= 8; ++preset) {
        EXPECT_TRUE(greyed(node(0, 0, preset))) << preset;
        ASSERT_TRUE(select(node(0, 0, preset)));
    }
    ASSERT_TRUE(select(node(0, 0)));
    EXPECT_TRUE(greyed(node(0, 0)));
    window().sheet()->setCurrentIndex(1);  // leaving the Settings page saves the node
    window().sheet()->setCurrentIndex(0);
    ASSERT_TRUE(select(node(0, 0, 5)));
    EXPECT_EQ(everythingUnder(folder), std::set<std::string>{"tcp.txt"});

    edit(window(), kInputLevelEdit)->setText("33.3");
    ASSERT_TRUE(select(node(0, 0, 6)));
    PresetParameters stored;
    ASSERT_EQ(readPresetFile(folder + "Preset-5.dat", stored), 200);
    EXPECT_DOUBLE_EQ(stored.inputLevel, 33.3);
    EXPECT_EQ(stored.presetNumber, 5);
    EXPECT_FALSE(greyed(node(0, 0, 5)));

    click(kReadButtonId);
    ASSERT_TRUE(seam.warnings.empty()) << seam.warnings.front();
    ASSERT_TRUE(select(node(0, 0, 7)));
    ASSERT_EQ(readPresetFile(folder + "Preset-6.dat", stored), 200);
    EXPECT_EQ(sentPart(stored), sentPart(engineersPreset()));
    ASSERT_TRUE(select(node(0, 0)));
    EXPECT_EQ(everythingUnder(folder),
              (std::set<std::string>{"tcp.txt", "Preset-5.dat", "Preset-6.dat"}));
}

struct UnwritableRow {
    const char* what;
    int preset;  // 0: the encoder itself
    const char* file;
    int editId;
};

TEST_F(MainWindowWithSim, UpdateSendsWhatThePagesShowWhenTheFileCannotBeWrittenAndSaysSo) {
    startSim();
    ASSERT_TRUE(writePresetFile(folder + "Preset-2.dat", engineersPreset()));
    ASSERT_TRUE(writeDeviceFile(folder + "device.dat", DeviceParameters{}));
    const UnwritableRow rows[] = {
        {"a preset", 2, "Preset-2.dat", kInputLevelEdit},
        {"the encoder", 0, "device.dat", kSensitivityEdit},
    };
    for (const UnwritableRow& row : rows) {
        SCOPED_TRACE(row.what);
        seam.warnings.clear();
        ASSERT_TRUE(select(node(0, 0, row.preset)));
        const std::string path = folder + row.file;
        const std::string before = readFileBytes(path);
        const UnwritableFile unwritable(path);
        ASSERT_FALSE(replaceFile(path, before)) << "the file stays writable here";

        edit(window(), row.editId)->setText("14.5");
        click(kUpdateButtonId);

        ASSERT_EQ(seam.warnings.size(), 1u);
        EXPECT_NE(seam.warnings[0].find("The file '" + path + "' was not saved: "),
                  std::string::npos)
            << seam.warnings[0];
        EXPECT_EQ(edit(window(), row.editId)->text(), "14.5");
        EXPECT_EQ(readFileBytes(path), before);
        if (row.preset > 0) {
            PresetParameters held;
            ASSERT_EQ(readPresetFile(simStore() + row.file, held), 200);
            EXPECT_DOUBLE_EQ(held.inputLevel, 14.5);
        } else {
            DeviceParameters held;
            ASSERT_EQ(readDeviceFile(simStore() + row.file, held), 296);
            EXPECT_DOUBLE_EQ(held.sensitivity40k, 14.5);
        }
    }
}

TEST_F(MainWindowTest, EscapeKeepsTheWindowAndItsCloseBoxStoresTheEdit) {
    const std::string folder = encoderFolder("Hilltop", "Tower");
    ASSERT_TRUE(writePresetFile(folder + "Preset-3.dat", PresetParameters{}));
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    ASSERT_TRUE(select(node(0, 0, 3)));
    QLineEdit* level = edit(window(), kInputLevelEdit);
    level->setFocus();
    level->setText("12.5");

    QTest::keyClick(level, Qt::Key_Escape);
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(level->text(), "12.5");

    EXPECT_TRUE(window().close());
    PresetParameters stored;
    ASSERT_EQ(readPresetFile(folder + "Preset-3.dat", stored), 200);
    EXPECT_DOUBLE_EQ(stored.inputLevel, 12.5);
}

TEST_F(MainWindowTest, ARefusingSettingsPageKeepsTheWindowOpenOnIt) {
    const std::string folder = encoderFolder("Hilltop", "Tower");
    ASSERT_TRUE(select(node(0, 0)));
    edit(window(), kSensitivityEdit)->setText("abc");

    EXPECT_FALSE(window().close());

    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(seam.warnings, std::vector<std::string>{"Geben Sie bitte eine Zahl ein."});
    EXPECT_EQ(window().sheet()->activePage(),
              static_cast<PropertyPage*>(window().sheet()->settingsPage()));
    EXPECT_EQ(edit(window(), kSensitivityEdit)->text(), "abc");
    EXPECT_FALSE(fs::exists(folder + "device.dat"));
}

}  // namespace
}  // namespace q93::test
