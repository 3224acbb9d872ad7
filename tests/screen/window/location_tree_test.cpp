#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <filesystem>
#include <functional>
#include <utility>
#include <vector>

#include "protocol/parameter_set.h"
#include "resources/templates/location_template.h"
#include "resources/templates/main_window_templates.h"
#include "screen/dialogs/compare_dialog.h"
#include "screen/display/modulation_power_dialog.h"
#include "screen/kit/ui_translations.h"
#include "screen/pages/adjust_prop.h"
#include "screen/pages/location_prop.h"
#include "screen/pages/property_sheet.h"
#include "screen/window/compare_menu_entries.h"
#include "tests/screen/window/main_window_fixture.h"

namespace q93::test {
namespace {

namespace fs = std::filesystem;

constexpr int kSensitivityEdit = 1041;

TEST_F(MainWindowTest, TreeShowsEveryEncoderWithItsLabelAndEightPresets) {
    encoderFolder("Hilltop", "Tower", "\r\n\r\nCOM3\r\n3\r\n1\r\n");
    encoderFolder("Hilltop", "Mast", "10.0.0.5\r\n5000\r\nTCP/IP\r\n3\r\n1\r\n");
    encoderFolder("Hilltop", "Spare");

    EXPECT_EQ(window().windowTitle(), "Q93 Config V1.26");
    EXPECT_FALSE(window().windowIcon().pixmap(32, 32).isNull());
    ASSERT_EQ(node(0)->childCount(), 3);
    EXPECT_EQ(node(0, 0)->text(0), "Mast - 10.0.0.5");
    EXPECT_EQ(node(0, 1)->text(0), "Spare");
    EXPECT_EQ(node(0, 2)->text(0), "Tower - COM3");
    for (int encoder = 0; encoder < 3; ++encoder) {
        ASSERT_EQ(node(0, encoder)->childCount(), 8);
        EXPECT_EQ(node(0, encoder, 8)->text(0), "Preset-8");
    }
}

TEST_F(MainWindowTest, MovingBetweenPresetsWritesTheOneLeftAndReadsTheOneArrived) {
    const std::string folder = encoderFolder("Hilltop", "Tower");
    PresetParameters stored;
    ASSERT_TRUE(writePresetFile(folder + "Preset-1.dat", stored));
    stored.inputSource = 2;
    stored.maxDeviation = 70;
    ASSERT_TRUE(writePresetFile(folder + "Preset-2.dat", stored));
    DeviceParameters device;
    device.levelUnit = 1;
    ASSERT_TRUE(writeDeviceFile(folder + "device.dat", device));

    ASSERT_TRUE(select(node(0, 0, 1)));
    window().sheet()->setCurrentIndex(2);
    ASSERT_TRUE(select(node(0, 0, 2)));

    EXPECT_EQ(fs::file_size(folder + "Preset-1.dat"), 200u);
    EXPECT_EQ(params().preset.inputSource, 2);
    EXPECT_EQ(params().preset.maxDeviation, 70);
    EXPECT_EQ(params().preset.presetNumber, 2);
    EXPECT_EQ(params().device.levelUnit, 1);
    EXPECT_EQ(window().sheet()->count(), 6);
    EXPECT_EQ(window().sheet()->currentIndex(), 2);

    // A preset without a file yet still addresses its own number on the encoder.
    ASSERT_TRUE(select(node(0, 0, 5)));
    EXPECT_EQ(params().preset.presetNumber, 5);
}

TEST_F(MainWindowTest, ARefusedSettingsPageKeepsTheEncoderSelected) {
    const std::string folder = encoderFolder("Hilltop", "Tower");
    ASSERT_TRUE(select(node(0, 0)));
    ASSERT_EQ(window().tree()->selectedItems(), QList<QTreeWidgetItem*>{node(0, 0)});
    auto* sensitivity = window().sheet()->activePage()->controlAs<QLineEdit>(kSensitivityEdit);
    ASSERT_NE(sensitivity, nullptr);
    sensitivity->setText("abc");

    EXPECT_FALSE(select(node(0, 0, 1)));

    EXPECT_EQ(seam.warnings, std::vector<std::string>{"Geben Sie bitte eine Zahl ein."});
    EXPECT_EQ(window().tree()->currentItem(), node(0, 0));
    EXPECT_EQ(window().tree()->selectedItems(), QList<QTreeWidgetItem*>{node(0, 0)});
    EXPECT_EQ(sensitivity->text(), "abc");
    EXPECT_FALSE(fs::exists(folder + "device.dat"));
    EXPECT_EQ(window().sheet()->activePage(),
              static_cast<PropertyPage*>(window().sheet()->settingsPage()));

    // A click is refused the same way, once, and leaves the highlight where it was.
    window().tree()->expandAll();
    QTest::mouseClick(window().tree()->viewport(), Qt::LeftButton, {},
                      window().tree()->visualItemRect(node(0, 0, 2)).center());
    EXPECT_EQ(seam.warnings.size(), 2u);
    EXPECT_EQ(window().tree()->currentItem(), node(0, 0));
    EXPECT_EQ(window().tree()->selectedItems(), QList<QTreeWidgetItem*>{node(0, 0)});
}

TEST_F(MainWindowTest, ASiteDisablesTheNodeButtonsAndShowsTheLocationPage) {
    encoderFolder("Hilltop", "Tower");
    ASSERT_TRUE(select(node(0, 0, 3)));
    EXPECT_TRUE(window().button(kReadButtonId)->isEnabled());
    ASSERT_TRUE(select(node(0)));
    for (int id : {kSaveButtonId, kReadButtonId, kUpdateButtonId, kDynamicDataButtonId})
        EXPECT_FALSE(window().button(id)->isEnabled()) << id;
    EXPECT_EQ(window().sheet()->count(), 1);
    EXPECT_TRUE(window().button(kSaveButtonId)->isHidden());
    EXPECT_TRUE(window().button(kConnectButtonId)->isHidden());
}

TEST_F(MainWindowTest, KeysInTheTreeMoveTheSelectionAndSwitchThePageSets) {
    encoderFolder("Hilltop", "Tower");
    LocationTree* tree = window().tree();
    tree->setFocus();
    ASSERT_TRUE(select(node(0)));
    QTest::keyClick(tree, Qt::Key_Right);
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(tree->currentItem(), node(0, 0));
    EXPECT_EQ(window().sheet()->count(), 3);
    QTest::keyClick(tree, Qt::Key_Right);
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(tree->currentItem(), node(0, 0, 1));
    EXPECT_EQ(window().sheet()->count(), 6);
}

// Reports the items of the menu that `open` shows, each enabled one marked '+'; none when no
// menu opens.
QStringList menuOpenedBy(const std::function<void()>& open) {
    QStringList items;
    // The look ends with this call, so that when no menu opened it cannot run later.
    QObject look;
    QTimer::singleShot(0, &look, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : menu->actions())
                items << (action->isEnabled() ? "+" : "") + action->text();
            menu->close();
        }
    });
    open();
    return items;
}

// Right-clicks a point of the tree and reports the menu's items.
QStringList menuOnRightClick(LocationTree* tree, QPoint point) {
    return menuOpenedBy([&] { QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, point); });
}

QStringList menuOnRightClick(LocationTree* tree, QTreeWidgetItem* item) {
    return menuOnRightClick(tree, tree->visualItemRect(item).center());
}

TEST_F(MainWindowTest, RightClickSelectsTheNodeAndOffersWhatFitsIt) {
    encoderFolder("Hilltop", "Tower");
    LocationTree* tree = window().tree();
    tree->expandAll();
    EXPECT_EQ(menuOnRightClick(tree, node(0, 0, 2)),
              QStringList({"+Neuer Standort...", "+Neuer Encoder...", "Umbenennen...",
                           "Entfernen...", "Eigenschaften...", "+Mit Gerät vergleichen...",
                           "+An andere Encoder senden..."}));
    EXPECT_EQ(tree->currentItem(), node(0, 0, 2));
    EXPECT_EQ(menuOnRightClick(tree, node(0, 0)),
              QStringList({"+Neuer Standort...", "+Neuer Encoder...", "+Umbenennen...",
                           "+Entfernen...", "+Eigenschaften...", "+Mit Gerät vergleichen...",
                           "+An andere Encoder senden..."}));
    EXPECT_EQ(menuOnRightClick(tree, node(0)),
              QStringList({"+Neuer Standort...", "+Neuer Encoder...", "+Umbenennen...",
                           "+Entfernen...", "Eigenschaften...", "Mit Gerät vergleichen...",
                           "An andere Encoder senden..."}));

    // Empty space below the last node: only a new site, and the selection stays.
    const QPoint empty(5, tree->viewport()->height() - 5);
    ASSERT_EQ(tree->itemAt(empty), nullptr);
    EXPECT_EQ(menuOnRightClick(tree, empty),
              QStringList({"+Neuer Standort...", "Neuer Encoder...", "Umbenennen...",
                           "Entfernen...", "Eigenschaften...", "Mit Gerät vergleichen...",
                           "An andere Encoder senden..."}));
    EXPECT_EQ(tree->currentItem(), node(0));
}

// The two ways the keyboard asks for the tree's menu: the Menu key, which the window passes on
// as a context menu event to the widget with the focus, and Shift+F10.
std::vector<std::pair<const char*, std::function<void()>>> keyboardMenuKeys(LocationTree* tree) {
    return {
        {"Menu key",
         [tree] {
             QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(),
                                     tree->mapToGlobal(QPoint()));
             QApplication::sendEvent(tree, &event);
         }},
        {"Shift+F10", [tree] { QTest::keyClick(tree, Qt::Key_F10, Qt::ShiftModifier); }},
    };
}

// The keyboard's menu is the selected node's, as a right-click on it shows it.
TEST_F(MainWindowTest, TheKeyboardMenuActsOnTheSelectedNode) {
    encoderFolder("Hilltop", "Tower");
    LocationTree* tree = window().tree();
    tree->expandAll();
    tree->setFocus();
    ASSERT_TRUE(select(node(0, 0)));
    for (const auto& [name, ask] : keyboardMenuKeys(tree))
        EXPECT_EQ(menuOpenedBy(ask),
                  QStringList({"+Neuer Standort...", "+Neuer Encoder...", "+Umbenennen...",
                               "+Entfernen...", "+Eigenschaften...", "+Mit Gerät vergleichen...",
                               "+An andere Encoder senden..."}))
            << name;
    for (QTreeWidgetItem* selected : {node(0), node(0, 0, 2)}) {
        ASSERT_TRUE(select(selected));
        for (const auto& [name, ask] : keyboardMenuKeys(tree))
            EXPECT_EQ(menuOpenedBy(ask), menuOnRightClick(tree, selected)) << name;
    }
    EXPECT_EQ(tree->currentItem(), node(0, 0, 2));
}

// With no node at all, the keyboard's menu is that of empty space: a new site is all it offers.
TEST_F(MainWindowTest, TheKeyboardMenuOfAnEmptyTreeOffersANewSite) {
    LocationTree* tree = window().tree();
    ASSERT_EQ(tree->topLevelItemCount(), 0);
    tree->setFocus();
    for (const auto& [name, ask] : keyboardMenuKeys(tree))
        EXPECT_EQ(menuOpenedBy(ask),
                  QStringList({"+Neuer Standort...", "Neuer Encoder...", "Umbenennen...",
                               "Entfernen...", "Eigenschaften...", "Mit Gerät vergleichen...",
                               "An andere Encoder senden..."}))
            << name;
}

// Sites and encoders that cannot be read, and a doubtful tcp.txt, stand greyed with the
// reason in their tooltip; no transfer takes what cannot be read or is doubtful, and each
// says why without starting. (Faults root meets too: the tests may run as root.)
TEST_F(MainWindowTest, UnreadableAndDoubtfulNodesShowGreyedAndRefuseTransfers) {
    const UiTranslations german(Language::German);
    encoderFolder("Hilltop", "Tower", tcpText(9));
    encoderFolder("Hilltop", "Edited",
                  "127.0.0.1\r\n9\r\nTCP/IP\r\n3\r\n" + std::string(19, '1') + "\r\n");
    fs::create_directory(encoderFolder("Hilltop", "Mast") + "tcp.txt");
    fs::create_symlink("Spire", "LocationData/Hilltop/Spire");
    fs::create_symlink("Loop", "LocationData/Loop");
    const std::string loop = "Too many levels of symbolic links";
    struct Shown {
        QTreeWidgetItem* node;
        std::string tooltip;  // empty: not greyed for a fault
    };
    const std::vector<Shown> shown = {
        {node(0, 0),
         "tcp.txt ist zweifelhaft: line 5 longer than 18 characters; keine "
         "Übertragung verwendet sie."},
        {node(0, 1), "Nicht lesbar: './LocationData/Hilltop/Mast/tcp.txt' is a directory"},
        {node(0, 2), "Nicht lesbar: cannot list './LocationData/Hilltop/Spire/': " + loop},
        {node(0, 3), ""},
        {node(1), "Nicht lesbar: cannot list './LocationData/Loop/': " + loop},
    };
    const QBrush greyed = window().tree()->palette().brush(QPalette::Disabled, QPalette::Text);
    for (const Shown& s : shown) {
        SCOPED_TRACE(s.node->text(0).toStdString());
        EXPECT_EQ(s.node->toolTip(0).toStdString(), s.tooltip);
        EXPECT_EQ(LocationTree::faultOf(s.node).toStdString(), s.tooltip);
        if (!s.tooltip.empty())
            EXPECT_EQ(s.node->foreground(0), greyed);
    }
    EXPECT_TRUE(seam.warnings.empty());
    // Greyed for its fault, a node stays so when its file turns up.
    ASSERT_TRUE(select(node(0, 0)));
    window().SaveSelectedNode();
    EXPECT_EQ(node(0, 0)->foreground(0), greyed);

    const std::string doubtful =
        "'./LocationData/Hilltop/Edited/tcp.txt' ist zweifelhaft: line 5 "
        "longer than 18 characters; es wurde nichts gesendet.";
    const std::string unreadable =
        "Die Verbindungseinstellungen sind nicht lesbar: "
        "'./LocationData/Hilltop/Mast/tcp.txt' is a directory; es "
        "wurde nichts gesendet.";
    struct Refused {
        QTreeWidgetItem* node;
        std::function<void()> command;
        std::string warning;
    };
    for (const Refused& r : std::vector<Refused>{
             {node(0, 0), [this] { window().Read(); }, doubtful},
             {node(0, 0), [this] { window().Update(); }, doubtful},
             {node(0, 0), [this] { window().ReadClock(); }, doubtful},
             {node(0, 0), [this] { window().ShowModulationPower(); }, doubtful},
             {node(0, 1), [this] { window().Read(); }, unreadable},
             {node(0, 1), [this] { window().WriteClock(); }, unreadable},
             {node(0, 0, 2), [this] { compareNodeWithEncoder(window().tree(), node(0, 0, 2)); },
              doubtful}}) {
        ASSERT_TRUE(select(r.node));
        seam.warnings.clear();
        seam.events.clear();
        r.command();
        EXPECT_EQ(seam.warnings, std::vector<std::string>{r.warning});
        EXPECT_TRUE(seam.events.empty()) << seam.events.front();
    }
    // A site that cannot be listed may hold any name: no new encoder there.
    EXPECT_EQ(menuOnRightClick(window().tree(), node(1)),
              QStringList({"+Neuer Standort...", "Neuer Encoder...", "+Umbenennen...",
                           "+Entfernen...", "Eigenschaften...", "Mit Gerät vergleichen...",
                           "An andere Encoder senden..."}));
}

// A LocationData that cannot be listed is said at start; the empty tree neither invites nor
// offers a new site, which could take the name of one unseen.
TEST_F(MainWindowTest, AnUnlistableLocationDataIsSaidAtStartAndOffersNoNewSite) {
    const UiTranslations german(Language::German);
    fs::remove("LocationData");
    writeFileBytes("LocationData", "not a folder");
    LocationTree* tree = window().tree();
    EXPECT_EQ(seam.warnings, std::vector<std::string>{"Die Standorte können nicht angezeigt "
                                                      "werden: cannot list './LocationData/': "
                                                      "Not a directory."});
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    EXPECT_TRUE(window().sheet()->locationPage()->controlAs<QLabel>(kNewSiteHintId)->isHidden());
    EXPECT_EQ(menuOnRightClick(tree, QPoint(5, 5)),
              QStringList({"Neuer Encoder...", "Umbenennen...", "Entfernen...", "Eigenschaften...",
                           "Mit Gerät vergleichen...", "An andere Encoder senden..."}));
}

// Ends the next modal dialog with its OK (1) or Cancel (2) button.
void answerNextDialog(const char* buttonText) {
    QTimer::singleShot(0, [buttonText] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == buttonText)
                button->click();
    });
}

TEST_F(MainWindowTest, CancellingTheConnectionDialogChangesNeitherFileNorLabel) {
    const std::string text = "10.0.0.5\r\n5000\r\nTCP/IP\r\n3\r\n1\r\n";
    const std::string folder = encoderFolder("Hilltop", "Tower", text);
    ASSERT_TRUE(select(node(0, 0)));
    answerNextDialog("Abbrechen");
    window().tree()->ShowProperties();
    EXPECT_EQ(readFileBytes(folder + "tcp.txt"), text);
    EXPECT_EQ(node(0, 0)->text(0), "Tower - 10.0.0.5");
}

TEST_F(MainWindowTest, AFolderWithADashTakesItsOwnFiles) {
    const std::string folder = encoderFolder("Hilltop", "Tower-2");
    encoderFolder("Hilltop", "Towe");
    ASSERT_TRUE(select(node(0, 1)));
    answerNextDialog("OK");
    window().tree()->ShowProperties();
    EXPECT_EQ(readFileBytes(folder + "tcp.txt"), "127.0.0.1\r\n\r\nTCP/IP\r\n3\r\n1\r\n");
    EXPECT_EQ(node(0, 1)->text(0), "Tower-2 - 127.0.0.1");

    ASSERT_TRUE(window().SaveSelectedNode());
    EXPECT_TRUE(fs::exists(folder + "device.dat"));
    EXPECT_FALSE(fs::exists("./LocationData/Hilltop/Towe/device.dat"));
}

TEST_F(MainWindowTest, CtrlDOpensTheModulationPowerDialogOnlyWhereDynDatenWouldBeEnabled) {
    encoderFolder("Hilltop", "Tower", "10.0.0.5\r\n5000\r\nTCP/IP\r\n3\r\n1\r\n");
    int opened = 0;
    const auto pressCtrlD = [&] {
        QTimer::singleShot(0, [&] {
            if (auto* dialog =
                    qobject_cast<ModulationPowerDialog*>(QApplication::activeModalWidget())) {
                ++opened;
                dialog->reject();
            }
        });
        QTest::keyClick(&window(), Qt::Key_D, Qt::ControlModifier);
    };
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    ASSERT_TRUE(select(node(0)));
    pressCtrlD();
    EXPECT_EQ(opened, 0);
    ASSERT_TRUE(select(node(0, 0, 4)));
    pressCtrlD();
    EXPECT_EQ(opened, 1);
}

}  // namespace
}  // namespace q93::test
