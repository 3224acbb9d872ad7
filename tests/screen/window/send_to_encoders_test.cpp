// "Send to other encoders..." against a fleet of three simulated encoders: the plan reads and
// sends nothing, the send goes to the first encoder alone and on only when it held, and an
// encoder that keeps its old value is rolled back with its stored files left alone.
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <sstream>

#include "screen/dialogs/send_to_encoders_dialog.h"
#include "screen/kit/ui_translations.h"
#include "screen/window/send_to_encoders.h"
#include "tests/screen/window/main_window_fixture.h"
#include "tests/screen/window/modal_answers.h"

namespace q93::test {
namespace {

struct SendCase {
    const char* name;
    const char* quirk;   // the simulator's encoder that keeps its pilot level
    const char* second;  // how each target ends, in the window's German
    const char* third;
    double secondPilot;  // what their stored Preset-2.dat then holds (0: still no file)
    double thirdPilot;
};

const SendCase kCases[] = {
    {"LastRolledBack", "3:pilotLevel", "geändert, zurückgelesen und gespeichert",
     "auf die alten Werte zurückgesetzt", 7.0, 0},
    {"CanaryRolledBackRestLeftAlone", "2:pilotLevel", "auf die alten Werte zurückgesetzt",
     "nicht versucht", 0, 0},
};

class SendToEncoders : public MainWindowTest, public ::testing::WithParamInterface<SendCase> {
protected:
    // Hill/E1..E3 on one q93sim fleet that logs every request; E1 holds the preset to send.
    void SetUp() override {
        sim = std::make_unique<SimProcess>(std::vector<std::string>{
            "--encoders", "3", "--verbose", "--ignore-set", GetParam().quirk});
        ASSERT_TRUE(sim->ready()) << sim->error();
        for (int k = 0; k < 3; ++k)
            folders.push_back(
                encoderFolder("Hill", "E" + std::to_string(k + 1), tcpText(sim->port() + k)));
        ASSERT_TRUE(writePresetFile(folders[0] + "Preset-2.dat", engineersPreset()));
        // An encoder without connection settings: the plan cannot read it, and the send
        // leaves it out instead of making it the canary.
        encoderFolder("Hill", "Aux");
    }

    double storedPilot(int k) {
        PresetParameters preset;
        return readPresetFile(folders[k] + "Preset-2.dat", preset) == 200 ? preset.pilotLevel : 0;
    }
    // The set commands the simulator logged, of Hill/E(k+1) or of all.
    std::size_t setsLogged(int k = -1) const {
        std::size_t count = 0;
        const std::string encoder = "encoder" + std::to_string(k + 1) + " ";
        std::istringstream log(sim->stderrText());
        for (std::string line; std::getline(log, line);)
            if (line.find(": set ") != std::string::npos &&
                (k < 0 || line.find(encoder) != std::string::npos))
                ++count;
        return count;
    }
    static void check(QTreeWidgetItem* row) { row->setCheckState(0, Qt::Checked); }
    static bool waitForRun(SendToEncodersDialog& dialog) {
        return QTest::qWaitFor([&] { return !dialog.running(); }, 60'000);
    }

    std::unique_ptr<SimProcess> sim;
    std::vector<std::string> folders;
};

TEST_P(SendToEncoders, PlanReadsOnlyAndSendGoesToTheCanaryFirstAndRollsBack) {
    const UiTranslations german(Language::German);
    // The tree lists Aux, E1, E2, E3.
    ASSERT_EQ(LocationTree::folderName(node(0, 1)), "E1");
    ASSERT_TRUE(select(node(0, 1, 2)));
    std::unique_ptr<SendToEncodersDialog> dialog =
        sendNodeToEncoders(window().tree(), node(0, 1, 2));
    ASSERT_NE(dialog, nullptr);
    dialog->show();

    // The pilot level, to every other encoder of the site.
    QTreeWidget* fields = dialog->fieldList();
    const auto pilot = fields->findItems("(pilotLevel)", Qt::MatchEndsWith);
    ASSERT_EQ(pilot.size(), 1);
    EXPECT_EQ(pilot[0]->text(1), "7 kHz");
    EXPECT_FALSE(dialog->planButton()->isEnabled());
    check(pilot[0]);
    QTreeWidget* encoders = dialog->encoderList();
    ASSERT_EQ(encoders->topLevelItemCount(), 1);
    QTreeWidgetItem* site = encoders->topLevelItem(0);
    ASSERT_EQ(site->childCount(), 3);  // E1 is the source
    const auto row = [site](const QString& name) {
        for (int e = 0; e < site->childCount(); ++e)
            if (site->child(e)->text(0) == name)
                return site->child(e);
        return static_cast<QTreeWidgetItem*>(nullptr);
    };
    QTreeWidgetItem* aux = row("Aux");
    QTreeWidgetItem* e2 = row("E2");
    QTreeWidgetItem* e3 = row("E3");
    ASSERT_TRUE(aux != nullptr && e2 != nullptr && e3 != nullptr);
    check(site);
    EXPECT_EQ(e3->checkState(0), Qt::Checked);
    EXPECT_FALSE(dialog->sendButton()->isEnabled());

    dialog->planButton()->click();
    ASSERT_TRUE(waitForRun(*dialog));
    EXPECT_TRUE(aux->text(1).startsWith("fehlgeschlagen:")) << aux->text(1).toStdString();
    for (QTreeWidgetItem* e : {e2, e3}) {
        EXPECT_EQ(e->text(1), "wird geändert");
        ASSERT_EQ(e->childCount(), 1);
        EXPECT_TRUE(e->child(0)->text(1).endsWith("(pilotLevel): 6.75 \u2192 7 kHz"))
            << e->child(0)->text(1).toStdString();
    }
    EXPECT_EQ(setsLogged(), 0u) << sim->stderrText();
    EXPECT_EQ(storedPilot(1), 0);
    EXPECT_EQ(storedPilot(2), 0);

    // Unchecking and checking again asks for the plan anew.
    e2->setCheckState(0, Qt::Unchecked);
    EXPECT_FALSE(dialog->sendButton()->isEnabled());
    check(e2);
    dialog->planButton()->click();
    ASSERT_TRUE(waitForRun(*dialog));
    ASSERT_TRUE(dialog->sendButton()->isEnabled());

    QString question;
    Answers answers({replyWith("Senden", &question)});
    dialog->sendButton()->click();
    ASSERT_TRUE(answers.done());
    EXPECT_TRUE(question.contains("an die 2 Encoder")) << question.toStdString();
    EXPECT_TRUE(question.contains("Hill/E2 kommt zuerst")) << question.toStdString();
    ASSERT_TRUE(waitForRun(*dialog));
    EXPECT_TRUE(e2->text(1).startsWith(GetParam().second)) << e2->text(1).toStdString();
    EXPECT_TRUE(e3->text(1).startsWith(GetParam().third)) << e3->text(1).toStdString();
    EXPECT_TRUE(aux->text(1).startsWith("fehlgeschlagen:")) << aux->text(1).toStdString();
    EXPECT_EQ(storedPilot(1), GetParam().secondPilot);
    EXPECT_EQ(storedPilot(2), GetParam().thirdPilot);
    EXPECT_EQ(storedPilot(0), 7.0);
    EXPECT_GT(setsLogged(1), 0u) << sim->stderrText();
    if (GetParam().third == std::string("nicht versucht"))
        EXPECT_EQ(setsLogged(2), 0u) << sim->stderrText();
}

INSTANTIATE_TEST_SUITE_P(Fleet, SendToEncoders, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace q93::test
