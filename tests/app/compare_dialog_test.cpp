#include <gtest/gtest.h>

#include <QMenu>
#include <QTreeWidget>
#include <cmath>

#include "app/block_reads.h"
#include "app/compare_dialog.h"
#include "app/compare_menu_entries.h"
#include "app/history_dialog.h"
#include "history/settings_history.h"
#include "pages/number_format.h"
#include "tests/app/main_window_fixture.h"

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
    QMenu before;
    addCompareMenuEntries(window().tree(), before, node(0, 0));
    EXPECT_EQ(actionTexts(before), (QStringList{"Compare with encoder..."}));

    DeviceParameters device;
    ASSERT_TRUE(writeDeviceFile(folder + "device.dat", device));
    std::string error;
    ASSERT_TRUE(initHistory("./LocationData/", "true", &error)) << error;
    QMenu after;
    addCompareMenuEntries(window().tree(), after, node(0, 0));
    EXPECT_EQ(actionTexts(after), (QStringList{"Compare with encoder...", "History..."}));
    QMenu onPreset;
    addCompareMenuEntries(window().tree(), onPreset, node(0, 0, 1));
    EXPECT_EQ(actionTexts(onPreset), (QStringList{"Compare with encoder..."}));

    const auto dialog = historyOfEncoder(window().tree(), node(0, 0));
    ASSERT_TRUE(dialog);
    ASSERT_EQ(dialog->list()->topLevelItemCount(), 1);
    const QTreeWidgetItem* version = dialog->list()->topLevelItem(0);
    ASSERT_EQ(version->childCount(), 1);
    EXPECT_EQ(version->child(0)->text(0), "device.dat: first stored");
}

}  // namespace
}  // namespace q93
