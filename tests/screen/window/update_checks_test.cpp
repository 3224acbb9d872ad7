// What the window's Update and transfers refuse before anything reaches the encoder.
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <chrono>
#include <cmath>
#include <limits>

#include "protocol/parameter_files.h"
#include "resources/templates/input_template.h"
#include "resources/templates/main_window_templates.h"
#include "resources/templates/output_template.h"
#include "screen/dialogs/lock_wait_dialog.h"
#include "screen/kit/mask_edit.h"
#include "screen/kit/ui_translations.h"
#include "screen/pages/input_prop.h"
#include "screen/pages/output_prop.h"
#include "screen/pages/property_sheet.h"
#include "store/encoder_lock.h"
#include "tests/screen/window/main_window_fixture.h"
#include "tests/screen/window/modal_answers.h"
#include "tests/support/lock_holder_process.h"

namespace q93::test {
namespace {

using namespace std::chrono_literals;

// The encoder's file as the simulator keeps it.
std::string heldPreset(const std::string& store, int number) {
    return readFileBytes(store + "Preset-" + std::to_string(number) + ".dat");
}

// Device settings beside the presets: levels in kHz at a sensitivity of 6 dBu, so that the
// input level may run from 2.5 to 159.2 kHz.
void storeDevice(const std::string& folder) {
    DeviceParameters device;
    device.sensitivity40k = 6;
    device.levelUnit = 0;
    ASSERT_TRUE(writeDeviceFile(folder + "device.dat", device));
}

void type(PropertyPage* page, int id, const QString& text) {
    auto* edit = page->controlAs<QLineEdit>(id);
    ASSERT_NE(edit, nullptr);
    edit->setText(text);
}

TEST_F(MainWindowWithSim, UpdateListsValuesNoPageAllowsAndSendsThemOnlyWhenAskedTwice) {
    const UiTranslations german(Language::German);
    startSim();
    storeDevice(folder);
    ASSERT_TRUE(writePresetFile(folder + "Preset-4.dat", engineersPreset()));
    ASSERT_TRUE(select(node(0, 0, 4)));
    PropertyPage* input = window().sheet()->inputPage();
    type(input, kInputLevel, "999");
    type(input, kInputAesSensitivity, "-99");
    type(input, kInputSca1Gain, "50");
    const std::string before = heldPreset(simStore(), 4);

    QString shown;
    Answers keep({reply(QMessageBox::Cancel, &shown)});
    click(kUpdateButtonId);
    EXPECT_TRUE(keep.done());
    EXPECT_EQ(shown.toStdString(),
              "Diese Werte liegen außerhalb dessen, was die Seiten erlauben; es wurde nichts "
              "gesendet:\n"
              "\u2022 Eingang \u2013 Pegel (inputLevel): 999.0 kHz, erlaubt: 2.5 bis 159.2 kHz\n"
              "\u2022 Eingang \u2013 AES Empfindlichkeit (aesSensitivity): -99.0 dBFS, erlaubt: "
              "-20 bis 0 dBFS\n"
              "\u2022 Eingang \u2013 SCA1 Verstärkung (sca1Gain): 50.0 dB, erlaubt: -6 bis 6 dB\n\n"
              "Korrigieren Sie sie auf ihren Seiten und drücken Sie erneut „Senden“, oder "
              "senden Sie sie so, wie sie sind.");
    EXPECT_EQ(heldPreset(simStore(), 4), before);
    EXPECT_TRUE(seam.warnings.empty()) << seam.warnings.front();

    Answers send({replyWith("Trotzdem senden")});
    click(kUpdateButtonId);
    EXPECT_TRUE(send.done());
    PresetParameters held;
    ASSERT_EQ(readPresetFile(simStore() + "Preset-4.dat", held), 200);
    EXPECT_EQ(held.inputLevel, 999);
    EXPECT_EQ(held.aesSensitivity, -99);
    EXPECT_EQ(held.sca1Gain, 50);
}

// A stored preset with values no page can show: they show as red, empty controls, leaving
// the node keeps them byte for byte, and Update names them rather than sending "nan".
TEST_F(MainWindowWithSim, ValuesAPageCannotShowStayDoubtfulAndAreNotSent) {
    const UiTranslations german(Language::German);
    startSim();
    storeDevice(folder);
    PresetParameters odd = engineersPreset();
    odd.mpxGain = std::numeric_limits<double>::quiet_NaN();
    odd.pilotLevel = 1e300;
    odd.auxOutput = 77;
    odd.presetNumber = 2;  // as the window writes it
    ASSERT_TRUE(writePresetFile(folder + "Preset-2.dat", odd));
    const std::string stored = readFileBytes(folder + "Preset-2.dat");
    const std::string held = heldPreset(simStore(), 2);
    ASSERT_TRUE(select(node(0, 0, 2)));
    window().sheet()->setCurrentIndex(1);
    OutputProp* output = window().sheet()->outputPage();
    ASSERT_EQ(window().sheet()->activePage(), static_cast<PropertyPage*>(output));
    for (int id : {kOutputMpxGain, kOutputPilotLevel}) {
        auto* edit = output->controlAs<CMaskEdit>(id);
        EXPECT_EQ(edit->text(), "") << id;
        EXPECT_EQ(edit->backgroundColor(), CMaskEdit::invalidColor()) << id;
    }
    auto* aux = output->controlAs<QComboBox>(kOutputAuxOutput);
    EXPECT_EQ(aux->currentIndex(), -1);
    EXPECT_EQ(aux->palette().color(QPalette::Button), CMaskEdit::invalidColor());

    ASSERT_TRUE(select(node(0, 0, 3)));
    ASSERT_TRUE(select(node(0, 0, 2)));
    EXPECT_EQ(readFileBytes(folder + "Preset-2.dat"), stored);

    QString shown;
    Answers keep({reply(QMessageBox::Cancel, &shown)});
    click(kUpdateButtonId);
    EXPECT_TRUE(keep.done());
    EXPECT_NE(shown.indexOf("(mpxGain): keine Zahl, erlaubt: -6 bis 6 dB"), -1)
        << shown.toStdString();
    EXPECT_NE(shown.indexOf("(auxOutput): 77, erlaubt: Listeneintrag 0 bis 9"), -1);
    EXPECT_NE(shown.indexOf("(pilotLevel): 1e+300 kHz, erlaubt: 2.5 bis 10.0 kHz"), -1);
    EXPECT_EQ(heldPreset(simStore(), 2), held);
    EXPECT_EQ(readFileBytes(folder + "Preset-2.dat"), stored);
}

TEST_F(MainWindowWithSim, APresetNobodyReadOrStoredIsNotSent) {
    const UiTranslations german(Language::German);
    startSim();
    const std::string held = heldPreset(simStore(), 1);
    ASSERT_TRUE(select(node(0, 0, 1)));

    click(kUpdateButtonId);

    ASSERT_EQ(seam.warnings.size(), 1u);
    EXPECT_EQ(seam.warnings[0].rfind("Für './LocationData/Hilltop/Tower/Preset-1.dat' ist nichts "
                                     "gespeichert",
                                     0),
              0u)
        << seam.warnings[0];
    EXPECT_EQ(heldPreset(simStore(), 1), held);
    EXPECT_FALSE(std::filesystem::exists(folder + "Preset-1.dat"));

    // After a Read the pages hold the encoder's values, and those may go back.
    seam.warnings.clear();
    click(kReadButtonId);
    type(window().sheet()->inputPage(), kInputLevel, "33.5");
    QString unexpected;
    Answers none({reply(QMessageBox::Cancel, &unexpected)});
    click(kUpdateButtonId);
    EXPECT_EQ(unexpected, "");
    EXPECT_TRUE(seam.warnings.empty()) << seam.warnings.front();
    PresetParameters sent;
    ASSERT_EQ(readPresetFile(simStore() + "Preset-1.dat", sent), 200);
    EXPECT_DOUBLE_EQ(sent.inputLevel, 33.5);
}

// Another program holds the encoder: the window says who at once, and Cancel ends the wait
// long before the transfer's bound.
TEST_F(MainWindowWithSim, AWaitForTheEncoderNamesTheHolderAndCanBeCancelled) {
    const UiTranslations german(Language::German);
    startSim();
    ASSERT_TRUE(writePresetFile(folder + "Preset-3.dat", engineersPreset()));
    ASSERT_TRUE(select(node(0, 0, 3)));
    LockHolderProcess other(folder, 60s);
    ASSERT_TRUE(other.held());
    QString waiting;
    Answers cancel({[&waiting](QWidget* shown) {
        auto* popup = qobject_cast<LockWaitDialog*>(shown);
        if (popup == nullptr)
            return false;
        waiting = popup->text();
        popup->reject();
        return true;
    }});
    const auto start = std::chrono::steady_clock::now();

    click(kReadButtonId);

    EXPECT_TRUE(cancel.done());
    EXPECT_LT(std::chrono::steady_clock::now() - start, kTransferLockWait);
    EXPECT_TRUE(waiting.startsWith("Warte auf ")) << waiting.toStdString();
    EXPECT_TRUE(waiting.endsWith(QString(" (pid %1)...").arg(other.pid())))
        << waiting.toStdString();
    EXPECT_TRUE(seam.warnings.empty()) << seam.warnings.front();
    EXPECT_EQ(sentPart(params().preset), sentPart(engineersPreset()));
}

}  // namespace
}  // namespace q93::test
