// Sites and encoders made, renamed and removed through the tree's context menu, with the real
// dialogs answered as a user would, real folders, q93ctl and q93sim.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <thread>

#include "protocol/parameter_set.h"
#include "resources/templates/main_window_templates.h"
#include "resources/templates/preset_templates.h"
#include "screen/dialogs/connection_dialog.h"
#include "screen/kit/mask_edit.h"
#include "screen/kit/ui_translations.h"
#include "screen/pages/location_prop.h"
#include "screen/pages/property_sheet.h"
#include "store/encoder_lock.h"
#include "store/working_folder.h"
#include "tests/screen/window/main_window_fixture.h"
#include "tests/screen/window/modal_answers.h"
#include "tests/support/process_runner.h"

namespace q93::test {
namespace {

namespace fs = std::filesystem;

constexpr int kInputLevelEdit = 1030;  // Input page

Answer choose(const QString& item) {
    return [item](QWidget* shown) {
        auto* menu = qobject_cast<QMenu*>(shown);
        if (menu == nullptr)
            return false;
        for (QAction* action : menu->actions()) {
            if (action->text() == item && action->isEnabled()) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return true;
            }
        }
        menu->close();
        return true;
    };
}

Answer typeName(const QString& name) {
    return [name](QWidget* shown) {
        auto* dialog = qobject_cast<QInputDialog*>(shown);
        if (dialog == nullptr)
            return false;
        dialog->setTextValue(name);
        dialog->accept();
        return true;
    };
}

// The connection dialog with TCP/IP, its 127.0.0.1 and `port` (empty: Cancel).
Answer connection(const QString& port) {
    return [port](QWidget* shown) {
        auto* dialog = qobject_cast<ConnectionDialog*>(shown);
        if (dialog == nullptr)
            return false;
        if (port.isEmpty()) {
            dialog->reject();
            return true;
        }
        dialog->tcpPortEdit()->setText(port);
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == "OK")
                button->click();
        return true;
    };
}

void rightClick(LocationTree* tree, QTreeWidgetItem* item) {
    const QPoint point = item != nullptr ? tree->visualItemRect(item).center()
                                         : QPoint(5, tree->viewport()->height() - 5);
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, point);
}

// Every file and folder under `root` with its bytes ("<folder>" for a folder).
std::map<std::string, std::string> everythingUnder(const std::string& root) {
    std::map<std::string, std::string> content;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        content[fs::relative(entry.path(), root).string()] =
            entry.is_directory() ? "<folder>" : readFileBytes(entry.path().string());
    }
    return content;
}

QLabel* pageLabel(MainWindow& window, int id) {
    return window.sheet()->locationPage()->controlAs<QLabel>(id);
}

std::string absoluteFolder(const fs::path& folder) {
    return (fs::absolute(folder) / "LocationData/").lexically_normal().string();
}

// HOME and XDG_DATA_HOME in a folder of the test, so that the desktop's trash is the test's.
class TrashHome {
public:
    TrashHome() {
        for (const char* name : {"HOME", "XDG_DATA_HOME"}) {
            const char* value = std::getenv(name);
            previous_[name] = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
        }
        ::setenv("HOME", dir_.path().c_str(), 1);
        ::setenv("XDG_DATA_HOME", dataHome().c_str(), 1);
    }
    ~TrashHome() {
        for (const auto& [name, value] : previous_) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }
    std::string dataHome() const { return dir_.file("data"); }
    std::string trash() const { return dataHome() + "/Trash/"; }

private:
    TempDir dir_;
    std::map<std::string, std::optional<std::string>> previous_;
};

TEST_F(MainWindowWithSim, StartedOnNothingASiteAndAnEncoderAreMadeInTheWindowAndReachTheEncoder) {
    fs::remove_all("LocationData");
    fs::create_directories(simStore());
    ASSERT_TRUE(writePresetFile(simStore() + "Preset-1.dat", engineersPreset()));
    sim = std::make_unique<SimProcess>(
        std::vector<std::string>{"--tcp", "127.0.0.1:0", "--store", simStore()});
    ASSERT_TRUE(sim->ready()) << sim->error();
    const QString port = QString::number(sim->port());
    LocationTree* tree = window().tree();

    EXPECT_EQ(pageLabel(window(), kDataFolderTextId)->text().toStdString(),
              absoluteFolder(dir.path()));
    EXPECT_FALSE(pageLabel(window(), kNewSiteHintId)->isHidden());
    for (int id : {kReadButtonId, kUpdateButtonId, kSaveButtonId})
        EXPECT_FALSE(window().button(id)->isEnabled()) << id;

    Answers site({choose("Neuer Standort..."), typeName("Hilltop")});
    rightClick(tree, nullptr);
    ASSERT_TRUE(site.done());
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(node(0)->text(0), "Hilltop");
    EXPECT_TRUE(fs::is_directory("LocationData/Hilltop"));
    EXPECT_TRUE(pageLabel(window(), kNewSiteHintId)->isHidden());

    Answers encoder({choose("Neuer Encoder..."), typeName("Tower"), connection(port)});
    rightClick(tree, node(0));
    ASSERT_TRUE(encoder.done());
    EXPECT_TRUE(seam.warnings.empty()) << seam.warnings.front();
    ASSERT_EQ(node(0)->childCount(), 1);
    EXPECT_EQ(node(0, 0)->text(0), "Tower - 127.0.0.1");
    EXPECT_EQ(node(0, 0)->childCount(), 8);

    // The same values through q93ctl add, in a folder of their own.
    TempDir ctlFolder;
    const ProcessResult added =
        runProgram({binPath("q93ctl"), "add", "Hilltop/Tower", "--port", "TCP/IP", "--ip",
                    "127.0.0.1", "--tcp-port", port.toStdString(), "--speed", "3", "--ack", "1"},
                   30, ctlFolder.path().string());
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_EQ(readFileBytes("LocationData/Hilltop/Tower/tcp.txt"),
              readFileBytes(ctlFolder.file("LocationData/Hilltop/Tower/tcp.txt")));

    ASSERT_TRUE(select(node(0, 0, 1)));
    click(kReadButtonId);
    EXPECT_TRUE(seam.warnings.empty()) << seam.warnings.front();
    EXPECT_EQ(sentPart(params().preset), sentPart(engineersPreset()));
}

struct RefusedName {
    const char* what;
    int menuOn;  // -1: empty space (a new site), 0: the site Hilltop (a new encoder)
    const char* name;
    const char* warning;
    const char* ctlReason;  // what q93ctl add says for Hilltop/NAME; nullptr: not a row for it
};

const RefusedName kRefusedNames[] = {
    {"second encoder of a name", 0, "Tower",
     "Der Name 'Tower' ist schon vergeben; wählen Sie einen anderen.", "exists; --force"},
    {"slash", 0, "a/b", "Der Name 'a/b' enthält '/', das Ordner trennt; wählen Sie einen anderen.",
     nullptr},
    {"leading dot", 0, ".hidden",
     "Der Name '.hidden' beginnt mit einem Punkt, der einen Ordner verbirgt; wählen Sie einen "
     "anderen.",
     "'.hidden' starts with a dot, which hides a folder"},
    {"empty", -1, "", "Der Name '' ist leer; wählen Sie einen anderen.", nullptr},
    {"site of a leading dot", -1, "..", nullptr, nullptr},
};

TEST_F(MainWindowTest, NamesAreRefusedAsQ93ctlAddRefusesThemAndCancelLeavesNoFolder) {
    const UiTranslations german(Language::German);
    encoderFolder("Hilltop", "Tower", tcpText(5000));
    LocationTree* tree = window().tree();
    const auto before = everythingUnder("LocationData");

    Answers cancelled({choose("Neuer Encoder..."), typeName("Mast"), connection("")});
    rightClick(tree, node(0));
    ASSERT_TRUE(cancelled.done());
    EXPECT_EQ(everythingUnder("LocationData"), before);
    EXPECT_EQ(node(0)->childCount(), 1);

    for (const RefusedName& row : kRefusedNames) {
        SCOPED_TRACE(row.what);
        seam.warnings.clear();
        Answers answers({choose(row.menuOn < 0 ? "Neuer Standort..." : "Neuer Encoder..."),
                         typeName(QString::fromUtf8(row.name))});
        rightClick(tree, row.menuOn < 0 ? nullptr : node(0));
        ASSERT_TRUE(answers.done());
        ASSERT_EQ(seam.warnings.size(), 1u);
        if (row.warning != nullptr)
            EXPECT_EQ(seam.warnings[0], row.warning);
        EXPECT_EQ(everythingUnder("LocationData"), before);
        EXPECT_EQ(tree->topLevelItemCount(), 1);
        if (row.ctlReason != nullptr) {
            const ProcessResult added = runProgram(
                {binPath("q93ctl"), "add", std::string("Hilltop/") + row.name, "--port", "COM1"},
                30, dir.path().string());
            EXPECT_NE(added.exitCode, 0);
            EXPECT_NE(added.err.find(row.ctlReason), std::string::npos) << added.err;
            EXPECT_EQ(everythingUnder("LocationData"), before);
        }
    }
}

TEST_F(MainWindowTest, RenameKeepsEveryFileAndRemoveAsksThenMovesTheFolderToTheTrash) {
    const UiTranslations german(Language::German);
    const TrashHome home;
    const std::string tower = encoderFolder("Hilltop", "Tower", tcpText(5000));
    ASSERT_TRUE(writeDeviceFile(tower + "device.dat", DeviceParameters{}));
    const std::string device = readFileBytes(tower + "device.dat");
    ASSERT_TRUE(writePresetFile(tower + "Preset-2.dat", engineersPreset()));
    writeFileBytes(tower + "notes.txt", "spare fuse in the rack\n");
    LocationTree* tree = window().tree();
    tree->expandAll();
    QTreeWidgetItem* encoder = node(0, 0);

    // While a q93ctl job holds the encoder, its folder stays where it is.
    {
        EncoderLock job;
        std::string error;
        ASSERT_TRUE(job.acquire(tower, std::chrono::milliseconds(0), &error)) << error;
        Answers refused({choose("Umbenennen..."), typeName("Mast")});
        rightClick(tree, encoder);
        ASSERT_TRUE(refused.done());
        ASSERT_EQ(seam.warnings.size(), 1u);
        const std::string start = "'Tower' wurde nicht umbenannt: '" + tower + "' is in use by";
        EXPECT_EQ(seam.warnings[0].substr(0, start.size()), start);
        EXPECT_TRUE(fs::exists(tower + "notes.txt"));
        seam.warnings.clear();
    }

    // An edit in progress on Tower's Preset-2 is filed before the folder moves (the right
    // click selects the encoder, which leaves the preset).
    ASSERT_TRUE(select(node(0, 0, 2)));
    window().sheet()->setCurrentIndex(0);
    window().sheet()->activePage()->controlAs<QLineEdit>(kInputLevelEdit)->setText("33.5");
    Answers rename({choose("Umbenennen..."), typeName("Mast")});
    rightClick(tree, encoder);
    ASSERT_TRUE(rename.done());
    EXPECT_TRUE(seam.warnings.empty()) << seam.warnings.front();
    EXPECT_FALSE(fs::exists(tower));
    const std::string mast = "./LocationData/Hilltop/Mast/";
    PresetParameters filed;
    ASSERT_EQ(readPresetFile(mast + "Preset-2.dat", filed), 200);
    EXPECT_EQ(filed.inputLevel, 33.5);
    EXPECT_EQ(node(0, 0), encoder);
    EXPECT_EQ(encoder->text(0), "Mast - 127.0.0.1");
    EXPECT_EQ(tree->currentItem(), encoder);
    const auto moved = everythingUnder(mast);
    EXPECT_EQ(moved.at("device.dat"), device);
    EXPECT_EQ(moved.at("notes.txt"), "spare fuse in the rack\n");
    EXPECT_EQ(moved.size(), 4u);

    QString question;
    Answers no({choose("Entfernen..."), reply(QMessageBox::No, &question)});
    rightClick(tree, encoder);
    ASSERT_TRUE(no.done());
    EXPECT_EQ(question.toStdString(),
              "Den Encoder 'Mast' entfernen?\nSein Ordner kommt mit allem darin in den "
              "Papierkorb (gespeicherte Dateien: 4).");
    EXPECT_EQ(everythingUnder(mast), moved);
    EXPECT_EQ(node(0, 0), encoder);

    Answers yes({choose("Entfernen..."), reply(QMessageBox::Yes)});
    rightClick(tree, encoder);
    ASSERT_TRUE(yes.done());
    EXPECT_TRUE(seam.warnings.empty()) << seam.warnings.front();
    EXPECT_FALSE(fs::exists(mast));
    EXPECT_EQ(everythingUnder(home.trash() + "files/Mast"), moved);
    const std::string info = readFileBytes(home.trash() + "info/Mast.trashinfo");
    const std::string start =
        "[Trash Info]\nPath=" + absoluteFolder(dir.path()) + "Hilltop/Mast\nDeletionDate=";
    EXPECT_EQ(info.substr(0, start.size()), start);
    EXPECT_EQ(node(0)->childCount(), 0);
    EXPECT_EQ(tree->currentItem(), nullptr);
    for (int id : {kReadButtonId, kUpdateButtonId, kSaveButtonId})
        EXPECT_FALSE(window().button(id)->isEnabled()) << id;
}

TEST_F(MainWindowTest, WithoutATrashNothingIsRemovedAndTheMessageSaysSo) {
    const UiTranslations german(Language::German);
    const TrashHome home;
    encoderFolder("Hilltop", "Tower", tcpText(5000));
    fs::create_directories(home.dataHome());
    writeFileBytes(home.dataHome() + "/Trash", "not a folder");
    const auto before = everythingUnder(dir.path().string());

    Answers yes({choose("Entfernen..."), reply(QMessageBox::Yes)});
    rightClick(window().tree(), node(0));
    ASSERT_TRUE(yes.done());

    ASSERT_EQ(seam.warnings.size(), 1u);
    const std::string start =
        "'Hilltop' wurde nicht entfernt: no trash can be had for './LocationData/Hilltop/'";
    EXPECT_EQ(seam.warnings[0].substr(0, start.size()), start);
    // Nothing was put beside LocationData in place of the trash either.
    EXPECT_EQ(everythingUnder(dir.path().string()), before);
    EXPECT_EQ(window().tree()->topLevelItemCount(), 1);
}

TEST_F(MainWindowTest, AFolderGivenAtTheStartIsTheOneTheWindowShows) {
    TempDir elsewhere;
    const std::string folder = elsewhere.file("LocationData/Funkhaus/StudioA");
    fs::create_directories(folder);
    std::string message;
    ASSERT_EQ(enterWorkingFolder({elsewhere.path().string()}, &message), StartRequest::Run);

    ASSERT_EQ(window().tree()->topLevelItemCount(), 1);
    EXPECT_EQ(node(0)->text(0), "Funkhaus");
    EXPECT_EQ(node(0, 0)->text(0), "StudioA");
    EXPECT_EQ(pageLabel(window(), kDataFolderTextId)->text().toStdString(),
              absoluteFolder(elsewhere.path()));
    EXPECT_TRUE(pageLabel(window(), kNewSiteHintId)->isHidden());
    for (int id : {kReadButtonId, kUpdateButtonId})
        EXPECT_FALSE(window().button(id)->isEnabled()) << id;

    // The program itself refuses a folder it cannot work in before any window opens.
    const ProcessResult missing =
        runProgram({binPath("q93config"), "-platform", "offscreen", elsewhere.file("none")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("q93config: cannot work in '" + elsewhere.file("none") +
                               "': No such file or directory\n"),
              std::string::npos)
        << missing.err;
    const ProcessResult two =
        runProgram({binPath("q93config"), "-platform", "offscreen", "a", "b"});
    EXPECT_EQ(two.exitCode, 2);
    EXPECT_NE(two.err.find("q93config takes one argument, a folder\n"), std::string::npos)
        << two.err;
}

// Under a file-size limit the program keeps running: a write past the limit fails and is
// reported like a full disk, rather than the kernel ending it with the edit lost.
TEST(ProgramSignals, TheWindowIgnoresTheFileSizeSignal) {
#if defined(__SANITIZE_THREAD__)
    // ThreadSanitizer keeps the program's signal dispositions in a table of its own, so the
    // kernel's mask read here does not show them; the other builds run this case.
    GTEST_SKIP() << "signal dispositions are ThreadSanitizer's own in this build";
#endif
    TempDir folder;
    fs::create_directories(folder.path() / "LocationData");
    const pid_t pid = ::fork();
    if (pid == 0) {
        const rlimit none{0, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &none);
        const std::string program = binPath("q93config");
        ::execl(program.c_str(), program.c_str(), "-platform", "offscreen", folder.path().c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ASSERT_GT(pid, 0);
    constexpr unsigned long kFileSizeBit = 1ul << (SIGXFSZ - 1);
    bool ignored = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!ignored && std::chrono::steady_clock::now() < deadline) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("SigIgn:", 0) == 0)
                ignored = (std::stoul(line.substr(7), nullptr, 16) & kFileSizeBit) != 0;
        }
        if (!ignored)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    EXPECT_TRUE(ignored);
}

}  // namespace
}  // namespace q93::test
