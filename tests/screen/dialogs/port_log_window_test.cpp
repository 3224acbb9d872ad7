#include "screen/dialogs/port_log_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <set>
#include <vector>

#include "base/frame_log.h"
#include "tests/screen/dialogs/link_gui_support.h"
#include "tests/support/config_home.h"
#include "tests/support/recording_seam.h"
#include "tests/support/temp_dir.h"

namespace q93 {
namespace {

void logBytes(std::vector<std::uint8_t> frame, int direction) {
    q93::logFrame(frame.data(), static_cast<int>(frame.size()), direction);
}

class PortLog : public ::testing::Test {
protected:
    test::RecordingSeam seam;
    test::TempDir dir;
};

TEST_F(PortLog, ShowsFramesInArrivalOrderOnlyWhileOpen) {
    logBytes({0xFE, 0x01, 0xFF}, kFrameSent);  // before the window exists
    showPortLog(nullptr);
    PortLogWindow* window = portLogWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Port Log");
    logBytes({0xFE, 0x2D, 0x01, 0xFF}, kFrameReceived);
    logBytes({0xFE, 0x00, 0xFF}, kFrameSent);
    logBytes({}, kFrameReceived);
    EXPECT_EQ(window->entryList()->currentRow(), 2);
    EXPECT_TRUE(window->entryList()->currentItem()->isSelected());

    window->close();  // the close box
    EXPECT_FALSE(window->isVisible());
    logBytes({0xFE, 0x03, 0xFF}, kFrameSent);
    showPortLog(nullptr);
    EXPECT_EQ(portLogWindow(), window);
    logBytes({0xFE, 0x04, 0xFF}, kFrameReceived);
    EXPECT_EQ(window->entries(),
              (QStringList{"<- FE 2D 01 FF ", "-> FE 00 FF ", "<- ", "<- FE 04 FF "}));
    delete window;
    EXPECT_EQ(portLogWindow(), nullptr);
}

// Through the file dialog (its filters, the default suffix, the working directory kept),
// then straight to a path: replaced, not written where it cannot be, empty after Clear.
TEST_F(PortLog, SavesOneLineAnEntry) {
    test::ConfigHome home;  // where the file dialog keeps its history
    PortLogWindow window;
    window.showAndLog();
    logBytes({0xFE, 0x00, 0xFF}, kFrameSent);
    logBytes({}, kFrameReceived);
    const QString before = QDir::currentPath();
    QStringList filters;
    test::whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        QDir::setCurrent(QString::fromStdString(dir.path().string()));  // as the user browsed
        dialog->selectFile(QString::fromStdString(dir.file("log")));
        static_cast<QDialog*>(dialog)->accept();
    });
    const std::string path = dir.file("log.txt");
    test::writeFileBytes(path, "an older and much longer content\n");
    window.saveButton()->click();
    EXPECT_EQ(filters, (QStringList{"Log File (*.txt)", "Alle Dateien (*.*)"}));
    EXPECT_EQ(QDir::currentPath(), before);
    EXPECT_EQ(test::readFileBytes(path), "-> FE 00 FF \n<- \n");

    const std::string unopenable = dir.file("missing-folder/log.txt");
    EXPECT_FALSE(window.saveTo(QString::fromStdString(unopenable)));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(unopenable)));
    EXPECT_TRUE(seam.warnings.empty());

    window.clearButton()->click();
    EXPECT_TRUE(window.entries().isEmpty());
    ASSERT_TRUE(window.saveTo(QString::fromStdString(path)));
    EXPECT_EQ(test::readFileBytes(path), "");
}

// "*.*" keeps its text but, as where it comes from, passes every file: names without a dot too.
TEST_F(PortLog, AllFilesListsNamesWithoutADot) {
    test::ConfigHome home;
    for (const char* name : {"log.txt", "notes", "a.b"})
        test::writeFileBytes(dir.file(name), "x");
    const QString folder = QString::fromStdString(dir.path().string());
    using Names = std::set<std::string>;
    // The names the dialog lists in the folder; its model fills and filters them from a
    // thread and a timer, so the list is read once it holds `expected`, or after 5 s.
    const auto listedOnce = [&](QFileDialog* dialog, const Names& expected) {
        auto* files = dialog->findChild<QFileSystemModel*>();
        Names names;
        (void)QTest::qWaitFor(
            [&] {
                const QModelIndex parent = files->index(folder);
                names.clear();
                for (int row = 0; row < files->rowCount(parent); ++row)
                    names.insert(files->index(row, 0, parent).data().toString().toStdString());
                return names == expected;
            },
            5000);
        return names;
    };
    Names logFile;
    Names allFiles;
    PortLogWindow window;
    test::whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(folder);
        logFile = listedOnce(dialog, {"log.txt"});
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);  // as the user picks "Alle Dateien (*.*)"
        EXPECT_EQ(types->currentText(), "Alle Dateien (*.*)");
        allFiles = listedOnce(dialog, {"log.txt", "notes", "a.b"});
        dialog->reject();
    });
    window.saveButton()->click();
    EXPECT_EQ(logFile, Names{"log.txt"});
    EXPECT_EQ(allFiles, (Names{"log.txt", "notes", "a.b"}));
}

TEST_F(PortLog, ResizingKeepsTheListAndButtonsAtTheirDistancesFromTheOuterEdges) {
    PortLogWindow window;
    window.showAndLog();
    window.resize(900, 600);
    QApplication::processEvents();
    const QMargins frame = window.windowHandle()->frameMargins();
    const QRect outer(-frame.left(), -frame.top(), 900 + frame.left() + frame.right(),
                      600 + frame.top() + frame.bottom());
    EXPECT_EQ(window.entryList()->geometry(),
              QRect(outer.left() + 15, outer.top() + 34, outer.width() - 30, outer.height() - 84));
    const QRect clear = window.clearButton()->geometry();
    const QRect save = window.saveButton()->geometry();
    EXPECT_EQ(clear.topLeft(), QPoint(outer.left() + 15, outer.bottom() + 1 - 14 - clear.height()));
    EXPECT_EQ(save.topLeft(),
              QPoint(outer.left() + 22 + save.width(), outer.bottom() + 1 - 14 - save.height()));
}

}  // namespace
}  // namespace q93
