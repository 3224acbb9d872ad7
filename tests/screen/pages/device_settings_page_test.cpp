#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include "screen/kit/mask_edit.h"
#include "screen/pages/adjust_prop.h"
#include "tests/screen/pages/device_page_support_test.h"

namespace q93 {
namespace {

constexpr const char* kNotANumber = "Geben Sie bitte eine Zahl ein.";

class SettingsPage : public test::DevicePageTest {
protected:
    SettingsPage() : page(&owner, params) { page.ensureBuilt(); }

    QComboBox* presetList() const { return page.controlAs<QComboBox>(1015); }
    QRadioButton* radio(int id) const { return page.controlAs<QRadioButton>(id); }
    CMaskEdit* sensitivity() const { return page.controlAs<CMaskEdit>(1041); }
    QString label(int id) const { return page.controlAs<QLabel>(id)->text(); }

    AdjustProp page;
};

TEST_P(SettingsPage, ShowsItsTemplateTextsInTheUserLanguage) {
    EXPECT_EQ(page.caption(), german() ? "Einstellungen" : "Settings");
    EXPECT_EQ(radio(1025)->text(), german() ? "Englisch" : "English");
    EXPECT_EQ(radio(1027)->text(), german() ? "Deutsch" : "German");
    EXPECT_EQ(label(1066), "? / ?");
    EXPECT_EQ(label(1062), german() ? "Nicht ausgelesen..." : "Not requested...");
    EXPECT_EQ(label(1070), "");
    ASSERT_EQ(presetList()->count(), 8);
    EXPECT_EQ(presetList()->itemText(0), "1");
    EXPECT_EQ(presetList()->itemText(7), "8");
    EXPECT_EQ(sensitivity()->validChars(), "-0123456789.");
    EXPECT_EQ(sensitivity()->textLimit(), 5);
}

TEST_P(SettingsPage, SensitivityTakesFiveSignedDecimalCharactersWhenTyped) {
    const std::pair<const char*, const char*> cases[] = {
        {"a-1x.5", "-1.5"},
        {"-12.345", "-12.3"},
        {"1,5", "15"},
        {"+6e1", "61"},
    };
    for (const auto& [typed, shown] : cases) {
        sensitivity()->clear();
        QTest::keyClicks(sensitivity(), typed);
        EXPECT_EQ(sensitivity()->text(), shown) << typed;
    }
}

TEST_P(SettingsPage, LoadsTheDeviceFields) {
    DeviceParameters& device = params.device;
    device.activePreset = 4;
    device.levelUnit = 1;
    device.language = 1;
    device.sensitivity40k = 2.27;
    page.LoadFromParams();
    EXPECT_EQ(presetList()->currentText(), "5");
    EXPECT_TRUE(radio(1026)->isChecked());
    EXPECT_FALSE(radio(1024)->isChecked());
    EXPECT_TRUE(radio(1027)->isChecked());
    EXPECT_FALSE(radio(1025)->isChecked());
    EXPECT_EQ(sensitivity()->text(), "2.3");

    device.levelUnit = 0;
    device.language = 0;
    device.activePreset = 8;
    device.sensitivity40k = -18;
    page.LoadFromParams();
    EXPECT_EQ(presetList()->currentIndex(), -1);
    EXPECT_TRUE(radio(1024)->isChecked());
    EXPECT_FALSE(radio(1026)->isChecked());
    EXPECT_TRUE(radio(1025)->isChecked());
    EXPECT_FALSE(radio(1027)->isChecked());
    EXPECT_EQ(sensitivity()->text(), "-18.0");
}

TEST_P(SettingsPage, StoresTheControlsWithTheSensitivityUnrounded) {
    page.LoadFromParams();
    presetList()->setCurrentIndex(2);
    radio(1026)->click();
    radio(1027)->click();
    sensitivity()->setText("2.27");
    ASSERT_TRUE(page.StoreToParams());
    const DeviceParameters& device = params.device;
    EXPECT_EQ(device.activePreset, 2);
    EXPECT_EQ(device.levelUnit, 1);
    EXPECT_EQ(device.language, 1);
    EXPECT_EQ(device.sensitivity40k, 2.27);

    radio(1024)->click();
    radio(1025)->click();
    ASSERT_TRUE(page.StoreToParams());
    EXPECT_EQ(device.activePreset, 2);
    EXPECT_EQ(device.levelUnit, 0);
    EXPECT_EQ(device.language, 0);
    EXPECT_TRUE(seam.warnings.empty());
}

TEST_P(SettingsPage, AcceptsEveryNumber) {
    const std::pair<const char*, double> cases[] = {
        {"0", 0.0}, {"0.0", 0.0}, {".5", 0.5}, {"-0.5", -0.5}, {"18", 18.0}, {"-18", -18.0},
    };
    for (const auto& [text, value] : cases) {
        params.device.sensitivity40k = 99;
        sensitivity()->setText(text);
        EXPECT_TRUE(page.StoreToParams()) << text;
        EXPECT_EQ(params.device.sensitivity40k, value) << text;
    }
    EXPECT_TRUE(seam.warnings.empty());
}

TEST_P(SettingsPage, RefusesWhatIsNoNumberInGermanAndStoresNothing) {
    page.show();
    QApplication::setActiveWindow(&page);
    for (const char* text : {"-0", "", "-", ".", "1,5"}) {
        params.device = DeviceParameters{};
        params.device.activePreset = 6;
        params.device.levelUnit = 1;
        params.device.sensitivity40k = 3.5;
        presetList()->setCurrentIndex(1);
        radio(1024)->click();
        sensitivity()->setText(text);
        sensitivity()->deselect();
        presetList()->setFocus();
        seam.warnings.clear();

        EXPECT_FALSE(page.StoreToParams()) << text;
        EXPECT_EQ(seam.warnings, std::vector<std::string>{kNotANumber}) << text;
        EXPECT_EQ(params.device.activePreset, 6) << text;
        EXPECT_EQ(params.device.levelUnit, 1) << text;
        EXPECT_EQ(params.device.sensitivity40k, 3.5) << text;
        EXPECT_EQ(sensitivity()->selectedText(), text) << text;
        EXPECT_EQ(QApplication::focusWidget(), sensitivity()) << text;
    }
}

TEST_P(SettingsPage, ValidationRunsTheNumberCheckOnly) {
    params.device.activePreset = 6;
    presetList()->setCurrentIndex(1);
    sensitivity()->setText("-");
    EXPECT_FALSE(page.ValidatePage());
    EXPECT_EQ(seam.warnings, std::vector<std::string>{kNotANumber});
    sensitivity()->setText("1.5");
    EXPECT_TRUE(page.ValidatePage());
    EXPECT_EQ(params.device.activePreset, 6);
    EXPECT_EQ(params.device.sensitivity40k, 0.0);
}

TEST_P(SettingsPage, LeavingSavesTheNodeOnlyAfterASuccessfulStore) {
    sensitivity()->setText("-0");
    EXPECT_FALSE(page.OnKillActive());
    EXPECT_TRUE(owner.calls.empty());

    sensitivity()->setText("6");
    // The node's file is written with the values just stored.
    double savedSensitivity = 0;
    owner.duringCall = [&] { savedSensitivity = params.device.sensitivity40k; };
    EXPECT_TRUE(page.OnKillActive());
    EXPECT_EQ(owner.calls, std::vector<std::string>{"SaveCurrentNode"});
    EXPECT_EQ(savedSensitivity, 6.0);

    // A store for a file write is no leaving.
    owner.calls.clear();
    EXPECT_TRUE(page.StoreToParams());
    EXPECT_TRUE(owner.calls.empty());
}

TEST_P(SettingsPage, BeforeADeviceReadOnlyTheInputSaysNotRequested) {
    page.LoadFromParams();
    EXPECT_EQ(label(1062), german() ? "Nicht ausgelesen..." : "not requested...");
    EXPECT_EQ(label(1066), "? / ?");
    EXPECT_EQ(label(1067), "? / ?");
    EXPECT_EQ(label(1070), "");
}

TEST_P(SettingsPage, ShowsTheStatusOfTheLastDeviceRead) {
    struct Case {
        DeviceStatus status;
        const char* input[2];  // German, English
        const char* digital;
        const char* analog;
        const char* aes[2];
    };
    const Case cases[] = {
        {{0, 0, 1, 0},
         {"Aus", "Off"},
         "- / -",
         "L / -",
         {"AES/EBU Frame nicht vorhanden!", "No AES/EBU Frame!"}},
        {{1, 2, 3, 1},
         {"Analog", "Analog"},
         "- / R",
         "L / R",
         {"AES/EBU Frame vorhanden!", "AES/EBU Frame OK!"}},
        {{2, 3, 4, -1},
         {"Digital", "Digital"},
         "L / R",
         "- / -",
         {"AES/EBU Frame vorhanden!", "AES/EBU Frame OK!"}},
        {{7, 3, 0, 0},
         {"?", "?"},
         "L / R",
         "- / -",
         {"AES/EBU Frame nicht vorhanden!", "No AES/EBU Frame!"}},
    };
    const int lang = german() ? 0 : 1;
    for (const Case& c : cases) {
        params.status = c.status;
        page.LoadFromParams();
        EXPECT_EQ(label(1062), c.input[lang]) << c.status.currentInput;
        EXPECT_EQ(label(1066), c.digital) << c.status.digitalChannels;
        EXPECT_EQ(label(1067), c.analog) << c.status.analogChannels;
        EXPECT_EQ(label(1070), c.aes[lang]) << c.status.aesFrameStatus;
    }
    // Selecting another node forgets the read: the other three keep their texts.
    params.status = DeviceStatus{-1, -1, -1, 1};
    page.LoadFromParams();
    EXPECT_EQ(label(1062), german() ? "Nicht ausgelesen..." : "not requested...");
    EXPECT_EQ(label(1066), "L / R");
    EXPECT_EQ(label(1067), "- / -");
    EXPECT_EQ(label(1070), german() ? "AES/EBU Frame nicht vorhanden!" : "No AES/EBU Frame!");
}

}  // namespace

Q93_PAGES_BOTH_LANGUAGES(SettingsPage);

}  // namespace q93
