#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <cmath>

#include "history/settings_history.h"
#include "protocol/number_format.h"
#include "screen/dialogs/compare_dialog.h"
#include "screen/dialogs/history_dialog.h"
#include "screen/window/compare_menu_entries.h"
#include "screen/window/location_tree.h"
#include "screen/window/tree_menu.h"
#include "store/block_reads.h"
#include "tests/screen/window/main_window_fixture.h"

namespace q93 {
namespace {

using test::MainWindowWithSim;

QStringList rowOf(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int column = 0; column < item->columnCount(); ++column)
        texts << item->text(column);
    return texts;
}

QStringList actionTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << action->text();
    return texts;
}

// The encoder's preset 3 and device settings as the tool reads them (queries only), stored
// with the input level and the MPX gain changed and the levels shown in dBu.
TEST_F(MainWindowWithSim, CompareListsTheTwoChangedFieldsInThePagesUnitsAndSendsNothing) {
    startSim({"--verbose"});
    DeviceConnection connection;
    connection.SetParameters("TCP/IP", "127.0.0.1", std::to_string(sim->port()), 3, 1);
    DeviceParameters device;
    PresetParameters preset;
    ASSERT_EQ(ReadDeviceInto(connection, device), 0);
    ASSERT_EQ(ReadPresetInto(connection, 3, preset), 0);
    const double encoderLevel = preset.inputLevel, encoderGain = preset.mpxGain;
    device.levelUnit = 1;
    preset.inputLevel = encoderLevel / 2;  // 6 dB below
    preset.mpxGain = encoderGain + 2.5;
    ASSERT_TRUE(writeDeviceFile(folder + "device.dat", device));
    ASSERT_TRUE(writePresetFile(folder + "Preset-3.dat", preset));
    const std::string storedPreset = test::readFileBytes(folder + "Preset-3.dat");

    window();
    ASSERT_TRUE(select(node(0, 0, 2)));
    const std::string shownBefore =
        std::string(reinterpret_cast<const char*>(encodePreset(params().preset).data()), 200);
    const auto dialog = compareNodeWithEncoder(window().tree(), node(0, 0, 3));
    ASSERT_TRUE(dialog) << seam.warnings.size();
    ASSERT_EQ(dialog->table()->topLevelItemCount(), 2);
    // 40 kHz is the sensitivity in dBu; half the deviation is 6.0 dB below it.
    const double dbu = device.sensitivity40k + 20 * std::log10(encoderLevel / 40.0);
    EXPECT_EQ(rowOf(dialog->table()->topLevelItem(0)),
              (QStringList{"Preset-3.dat", "inputLevel",
                           QString::fromStdString(FormatFixed(dbu - 6.0206, 1)),
                           QString::fromStdString(FormatFixed(dbu, 1)), "dBu"}));
    EXPECT_EQ(rowOf(dialog->table()->topLevelItem(1)),
              (QStringList{"Preset-3.dat", "mpxGain",
                           QString::fromStdString(FormatFixed(encoderGain + 2.5, 1)),
                           QString::fromStdString(FormatFixed(encoderGain, 1)), "dB"}));

    // Nothing was sent, nothing stored, and the pages still hold the node shown.
    const std::string log = sim->stderrText();
    EXPECT_NE(log.find("query"), std::string::npos);
    EXPECT_EQ(log.find(": set "), std::string::npos) << log;
    EXPECT_EQ(test::readFileBytes(folder + "Preset-3.dat"), storedPreset);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(encodePreset(params().preset).data()), 200),
              shownBefore);
}

TEST_F(MainWindowWithSim, HistoryIsOfferedWhereLocationDataKeepsOneAndListsTheVersions) {
    startSim();
    window();
    const QStringList folderEntries{"Neuer Standort...", "Neuer Encoder...", "Umbenennen...",
                                    "Entfernen...", "Eigenschaften..."};
    QMenu before;
    addTreeMenuCommands(*window().tree(), before, node(0, 0));
    EXPECT_EQ(actionTexts(before), folderEntries + QStringList({"Mit Gerät vergleichen...",
                                                                "An andere Encoder senden..."}));

    DeviceParameters device;
    ASSERT_TRUE(writeDeviceFile(folder + "device.dat", device));
    std::string error;
    ASSERT_TRUE(initHistory("./LocationData/", "true", &error)) << error;
    QMenu after;
    addTreeMenuCommands(*window().tree(), after, node(0, 0));
    EXPECT_EQ(actionTexts(after),
              folderEntries + QStringList({"Mit Gerät vergleichen...",
                                           "An andere Encoder senden...", "Verlauf..."}));
    EXPECT_TRUE(after.actions().last()->isEnabled());
    QMenu onPreset;
    addTreeMenuCommands(*window().tree(), onPreset, node(0, 0, 1));
    EXPECT_EQ(actionTexts(onPreset), folderEntries + QStringList({"Mit Gerät vergleichen...",
                                                                  "An andere Encoder senden..."}));

    const auto dialog = historyOfEncoder(window().tree(), node(0, 0));
    ASSERT_TRUE(dialog);
    ASSERT_EQ(dialog->list()->topLevelItemCount(), 1);
    const QTreeWidgetItem* version = dialog->list()->topLevelItem(0);
    ASSERT_EQ(version->childCount(), 1);
    EXPECT_EQ(version->child(0)->text(0), "device.dat: first stored");

    // Chosen from the menu a right-click opens, History shows that same list.
    LocationTree* tree = window().tree();
    tree->expandAll();
    int versionsShown = -1;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions())
                if (action->text() == "Verlauf...")
                    menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
        } else if (auto* shown = qobject_cast<HistoryDialog*>(QApplication::activeModalWidget())) {
            versionsShown = shown->list()->topLevelItemCount();
            shown->reject();
        }
    });
    answer.start(10);
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {},
                      tree->visualItemRect(node(0, 0)).center());
    EXPECT_EQ(versionsShown, 1);
}

}  // namespace
}  // namespace q93
