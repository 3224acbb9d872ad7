#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>
#include <functional>
#include <string>

#include "protocol/parameter_files.h"
#include "screen/pages/adjust_prop.h"
#include "screen/pages/input_prop.h"
#include "screen/pages/location_prop.h"
#include "screen/pages/rtc_prop.h"
#include "tests/screen/pages/page_test_support.h"
#include "tests/support/temp_dir.h"

namespace q93::test {
namespace {

using PropertySheet = SheetTest;

QStringList captions(const MyPropertySheet& sheet) {
    QStringList result;
    for (int i = 0; i < sheet.count(); ++i) {
        result << sheet.tabText(i);
    }
    return result;
}

constexpr int kSensitivityEdit = 1041;
constexpr int kInputLevelEdit = 1030;

TEST_P(PropertySheet, ShowsThePresetPagesInTabOrder) {
    sheet->ShowPresetPages();
    const QStringList expected =
        german() ? QStringList{"Eingang", "Ausgang", "Begrenzer", QString::fromUtf8("Mod Überw."),
                               "Modus",   "Test"}
                 : QStringList{"Input", "Output", "Limiter", "Mod Check", "Mode", "Test"};
    EXPECT_EQ(captions(*sheet), expected);
    EXPECT_EQ(sheet->currentIndex(), 0);
    EXPECT_EQ(sheet->activePage(), sheet->inputPage());
}

TEST_P(PropertySheet, AddsTheCorrectionPageOnlyWithSetupFile) {
    TempDir folder;
    const WorkingDirectory inFolder(folder.path());
    sheet->ShowDevicePages();
    EXPECT_EQ(captions(*sheet),
              german() ? QStringList({"Einstellungen", "Echtzeit Uhr", "Schnittstellen"})
                       : QStringList({"Settings", "Realtime Clock", "Interfaces"}));
    writeFileBytes(folder.file("setup.txt"), "");
    EXPECT_EQ(sheet->count(), 3);  // tested when the set is shown, not later
    sheet->ShowLocationPage();
    EXPECT_EQ(captions(*sheet), QStringList{german() ? "Standort" : "Location"});
    sheet->ShowDevicePages();
    EXPECT_EQ(sheet->count(), 4);
    EXPECT_EQ(sheet->tabText(3), "Korrekturwerte");
}

TEST_P(PropertySheet, StoresNothingForPagesWithoutParameters) {
    params().preset.mpxGain = 1.5;
    const PresetBytes before = encodePreset(params().preset);
    sheet->ShowLocationPage();
    EXPECT_TRUE(sheet->StoreActivePage());
    sheet->ShowDevicePages();
    sheet->setCurrentIndex(1);
    ASSERT_EQ(sheet->activePage(), static_cast<PropertyPage*>(sheet->clockPage()));
    EXPECT_TRUE(sheet->StoreActivePage());
    EXPECT_EQ(encodePreset(params().preset), before);
}

TEST_P(PropertySheet, ReadsAPresetFileAndTakesItsNumberFromTheName) {
    TempDir folder;
    PresetParameters stored{};
    stored.inputLevel = 12.5;
    stored.presetNumber = 7;
    ASSERT_TRUE(writePresetFile(folder.file("Preset-3.dat"), stored));
    ASSERT_TRUE(writePresetFile(folder.file("Preset-12.dat"), stored));
    sheet->ShowPresetPages();
    sheet->ReadPresetFile(folder.file("Preset-3.dat"));
    EXPECT_EQ(params().preset.presetNumber, 3);
    EXPECT_EQ(editText(kInputLevelEdit), "12.5");
    sheet->ReadPresetFile(folder.file("Preset-12.dat"));
    EXPECT_EQ(params().preset.presetNumber, 2);
}

TEST_P(PropertySheet, LeavesEverythingAsItWasWhenAFileCannotBeRead) {
    TempDir folder;
    params().preset.inputLevel = 3;
    params().device.sensitivity40k = 4;
    sheet->ShowPresetPages();
    setEditText(kInputLevelEdit, "9.9");
    sheet->ReadPresetFile(folder.file("Preset-4.dat"));
    sheet->ReadDeviceFile(folder.file("device.dat"));
    EXPECT_EQ(params().preset.presetNumber, 0);
    EXPECT_EQ(params().preset.inputLevel, 3);
    EXPECT_EQ(params().device.sensitivity40k, 4);
    EXPECT_EQ(editText(kInputLevelEdit), "9.9");
}

TEST_P(PropertySheet, ReloadsTheActivePageAfterADeviceFileRead) {
    TempDir folder;
    DeviceParameters stored{};
    stored.levelUnit = 1;
    ASSERT_TRUE(writeDeviceFile(folder.file("device.dat"), stored));
    params().preset.inputLevel = 20;
    sheet->ShowPresetPages();
    EXPECT_EQ(editText(kInputLevelEdit), "20.0");
    sheet->ReadDeviceFile(folder.file("device.dat"));
    EXPECT_EQ(editText(kInputLevelEdit), "-6.0");
}

TEST_P(PropertySheet, WritesThePresetWithTheActivePagesEdits) {
    TempDir folder;
    sheet->ShowPresetPages();
    setEditText(kInputLevelEdit, "33,3");
    sheet->WritePresetFile(folder.file("Preset-1.dat"));
    PresetParameters read{};
    ASSERT_EQ(readPresetFile(folder.file("Preset-1.dat"), read), 200);
    EXPECT_DOUBLE_EQ(read.inputLevel, 33.3);

    // A file that cannot be written still leaves the edit in the parameter set, which the
    // encoder is sent from.
    setEditText(kInputLevelEdit, "44");
    EXPECT_FALSE(sheet->WritePresetFile(folder.file("missing/Preset-1.dat")));
    EXPECT_DOUBLE_EQ(params().preset.inputLevel, 44);
    EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
}

TEST_P(PropertySheet, WritesTheDeviceFileOnlyWhenTheSettingsPageStores) {
    TempDir folder;
    const std::string path = folder.file("device.dat");
    writeFileBytes(path, "old");
    sheet->ShowDevicePages();
    setEditText(kSensitivityEdit, "-");
    EXPECT_FALSE(sheet->WriteDeviceFile(path));
    EXPECT_EQ(readFileBytes(path), "old");
    ASSERT_EQ(seam.warnings.size(), 1u);
    EXPECT_EQ(seam.warnings[0], "Geben Sie bitte eine Zahl ein.");

    setEditText(kSensitivityEdit, "2.27");
    EXPECT_TRUE(sheet->WriteDeviceFile(path));
    DeviceParameters read{};
    ASSERT_EQ(readDeviceFile(path, read), 296);
    EXPECT_DOUBLE_EQ(read.sensitivity40k, 2.27);
    EXPECT_FALSE(sheet->WriteDeviceFile(folder.file("missing/device.dat")));
}

TEST_P(PropertySheet, KeepsTheSettingsPageWhenItRefusesToBeLeft) {
    sheet->ShowDevicePages();
    sheet->show();
    QApplication::setActiveWindow(sheet);
    setEditText(kSensitivityEdit, "1,5");
    sheet->setCurrentIndex(2);
    EXPECT_EQ(sheet->currentIndex(), 0);
    EXPECT_EQ(sheet->activePage(), static_cast<PropertyPage*>(sheet->settingsPage()));
    EXPECT_EQ(seam.warnings.size(), 1u);
    EXPECT_TRUE(owner.calls.empty());

    EXPECT_EQ(QApplication::focusWidget(), edit(kSensitivityEdit));
    EXPECT_EQ(edit(kSensitivityEdit)->selectedText(), "1,5");

    setEditText(kSensitivityEdit, "-0.5");
    sheet->setCurrentIndex(2);
    EXPECT_EQ(sheet->currentIndex(), 2);
    EXPECT_DOUBLE_EQ(params().device.sensitivity40k, -0.5);
    EXPECT_EQ(owner.calls, std::vector<std::string>{"SaveCurrentNode"});
}

// Runs a check while each warning would be on screen.
class WatchingSeam : public RecordingSeam {
public:
    void showWarning(const std::string& text) override {
        RecordingSeam::showWarning(text);
        whileShown();
    }
    std::function<void()> whileShown = [] {};
};

void wheelDown(QWidget* widget) {
    const QPointF at(5, 5);
    QWheelEvent turn(at, widget->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &turn);
}

// Every way to another tab asks the Settings page first: while its message shows, the
// page and its tab stay on screen and the other page never appears.
TEST_P(PropertySheet, RefusesATabChangeBeforeItHappens) {
    TempDir folder;
    const WorkingDirectory inFolder(folder.path());  // no setup.txt: three device pages
    struct Way {
        const char* name;
        std::function<void(MyPropertySheet&)> take;
        int target;
    };
    const Way ways[] = {
        {"click",
         [](MyPropertySheet& s) {
             QTest::mouseClick(s.tabBar(), Qt::LeftButton, {}, s.tabBar()->tabRect(2).center());
         },
         2},
        {"Ctrl+Tab",
         [](MyPropertySheet& s) { QTest::keyClick(&s, Qt::Key_Tab, Qt::ControlModifier); }, 1},
        {"Ctrl+Shift+Tab",
         [](MyPropertySheet& s) {
             QTest::keyClick(&s, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
         },
         2},
        {"arrow key", [](MyPropertySheet& s) { QTest::keyClick(s.tabBar(), Qt::Key_Right); }, 1},
        {"wheel", [](MyPropertySheet& s) { wheelDown(s.tabBar()); }, 1},
        {"call", [](MyPropertySheet& s) { s.setCurrentIndex(2); }, 2},
    };
    WatchingSeam watch;
    sheet->show();
    QApplication::setActiveWindow(sheet);
    for (const Way& way : ways) {
        sheet->ShowDevicePages();
        setEditText(kSensitivityEdit, "1,5");
        QWidget* target = sheet->widget(way.target);
        QSignalSpy changes(sheet, &QTabWidget::currentChanged);
        std::vector<std::string> seen;
        watch.whileShown = [&] {
            seen.push_back("tab " + std::to_string(sheet->currentIndex()));
            seen.push_back(sheet->settingsPage()->isVisible() ? "Settings shown" : "Settings gone");
            seen.push_back(target->isVisible() ? "target shown" : "target hidden");
        };
        way.take(*sheet);
        EXPECT_EQ(seen, (std::vector<std::string>{"tab 0", "Settings shown", "target hidden"}))
            << way.name;
        EXPECT_EQ(changes.count(), 0) << way.name;
        EXPECT_EQ(sheet->currentIndex(), 0) << way.name;
        EXPECT_EQ(sheet->activePage(), static_cast<PropertyPage*>(sheet->settingsPage()));

        setEditText(kSensitivityEdit, "2");
        seen.clear();
        way.take(*sheet);
        EXPECT_TRUE(seen.empty()) << way.name;
        EXPECT_EQ(sheet->currentIndex(), way.target) << way.name;
        EXPECT_EQ(sheet->activePage(), target) << way.name;
        EXPECT_TRUE(target->isVisible()) << way.name;
    }
    EXPECT_EQ(watch.warnings.size(), std::size(ways));
}

TEST_P(PropertySheet, ValidatesTheActivePageBeforeSending) {
    sheet->ShowDevicePages();
    setEditText(kSensitivityEdit, ".");
    EXPECT_FALSE(sheet->ValidateActivePage());
    EXPECT_EQ(seam.warnings, std::vector<std::string>{"Geben Sie bitte eine Zahl ein."});
    setEditText(kSensitivityEdit, ".5");
    EXPECT_TRUE(sheet->ValidateActivePage());
    sheet->ShowPresetPages();
    EXPECT_TRUE(sheet->ValidateActivePage());
    EXPECT_EQ(seam.warnings.size(), 1u);
}

TEST_P(PropertySheet, LoadsAPageEachTimeItBecomesActive) {
    sheet->ShowPresetPages();
    sheet->setCurrentIndex(1);
    params().preset.inputLevel = 17;
    sheet->setCurrentIndex(0);
    EXPECT_EQ(editText(kInputLevelEdit), "17.0");
    params().preset.inputLevel = 18;
    sheet->LoadActivePage();
    EXPECT_EQ(editText(kInputLevelEdit), "18.0");
}

TEST_P(PropertySheet, ShowsTheControlsOfAPageFirstOpenedOnScreen) {
    sheet->ShowPresetPages();
    sheet->show();
    sheet->setCurrentIndex(3);
    EXPECT_TRUE(edit(1067)->isVisible());
    sheet->setCurrentIndex(0);
    EXPECT_TRUE(edit(kInputLevelEdit)->isVisible());
    EXPECT_FALSE(edit(1054)->isVisible());  // the delays stay hidden
}

void expectWholeTabs(MyPropertySheet& sheet) {
    sheet.adjustSize();
    sheet.show();
    const QTabBar* tabs = sheet.tabBar();
    EXPECT_GE(tabs->width(), tabs->sizeHint().width());
    for (int i = 0; i < tabs->count(); ++i) {
        EXPECT_TRUE(tabs->rect().contains(tabs->tabRect(i))) << tabs->tabText(i).toStdString();
    }
}

TEST_P(PropertySheet, ShowsEveryTabCaptionInFull) {
    sheet->ShowPresetPages();
    expectWholeTabs(*sheet);
    sheet->ShowDevicePages();
    expectWholeTabs(*sheet);
}

Q93_PAGES_BOTH_LANGUAGES(PropertySheet);

}  // namespace
}  // namespace q93::test
