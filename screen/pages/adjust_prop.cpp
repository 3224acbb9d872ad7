#include "screen/pages/adjust_prop.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "base/user_seam.h"
#include "protocol/parameter_set.h"
#include "protocol/settings_number_check.h"
#include "protocol/settings_status_texts.h"
#include "resources/templates/settings_page_template.h"
#include "screen/pages/page_helpers.h"
#include "screen/pages/page_owner.h"

namespace q93 {
namespace {

constexpr int kSensitivityMaxLength = 5;
// German whatever the user's language: the encoder's tool never had it translated.
constexpr const char* kNotANumber = "Geben Sie bitte eine Zahl ein.";

}  // namespace

AdjustProp::AdjustProp(PageOwner* owner, ParameterSet& params, QWidget* parent)
    : PropertyPage(settingsPageTemplate(), parent), owner_(owner), params_(params) {}

void AdjustProp::InitDialog() {
    SetEditFilter(controlAs<QLineEdit>(kSettingsSensitivity), kSignedDecimalChars,
                  kSensitivityMaxLength);
    SetLabelText(controlAs<QLabel>(kSettingsAesFrame), "");
}

void AdjustProp::LoadFromParams() {
    const DeviceParameters& device = params_.device;
    ShowListIndex(kSettingsPresetList, device.activePreset);
    SetRadioPair(device.levelUnit, controlAs<QRadioButton>(kSettingsUnitDBu),
                 controlAs<QRadioButton>(kSettingsUnitKHz));
    SetRadioPair(device.language, controlAs<QRadioButton>(kSettingsLanguageGerman),
                 controlAs<QRadioButton>(kSettingsLanguageEnglish));
    ShowNumber(kSettingsSensitivity, device.sensitivity40k, 1);
    loadStatus();
}

void AdjustProp::loadStatus() {
    const DeviceStatus& status = params_.status;
    SetLabelText(controlAs<QLabel>(kSettingsCurrentInput), CurrentInputText(status.currentInput));
    // Before the first device read the other three keep what they showed.
    if (status.currentInput == -1)
        return;
    SetLabelText(controlAs<QLabel>(kSettingsDigitalChannels), ChannelsText(status.digitalChannels));
    SetLabelText(controlAs<QLabel>(kSettingsAnalogChannels), ChannelsText(status.analogChannels));
    SetLabelText(controlAs<QLabel>(kSettingsAesFrame), AesFrameText(status.aesFrameStatus));
}

bool AdjustProp::checkSensitivity() {
    auto* edit = controlAs<QLineEdit>(kSettingsSensitivity);
    if (edit == nullptr)
        return true;
    // A value the edit could not show (not a number) stays as it was until the user types
    // one; the range check before a send names it.
    if (IsSensitivityNumber(edit->text().toStdString()) ||
        (edit->text().isEmpty() && ShowsLoadedText(kSettingsSensitivity)))
        return true;
    showWarning(kNotANumber);
    edit->setFocus();
    edit->selectAll();
    return false;
}

bool AdjustProp::ValidatePage() {
    return checkSensitivity();
}

bool AdjustProp::StoreToParams() {
    // Without its controls the page has nothing to store, and must not store "no selection".
    if (!isBuilt())
        return true;
    if (!checkSensitivity())
        return false;
    DeviceParameters& device = params_.device;
    device.activePreset = StoredListIndex(kSettingsPresetList);
    device.levelUnit = isOn(controlAs<QRadioButton>(kSettingsUnitKHz)) ? 0 : 1;
    device.language = isOn(controlAs<QRadioButton>(kSettingsLanguageEnglish)) ? 0 : 1;
    device.sensitivity40k =
        StoredNumber(kSettingsSensitivity, ParseNumber(controlAs<QLineEdit>(kSettingsSensitivity)));
    return true;
}

bool AdjustProp::OnKillActive() {
    if (!StoreToParams())
        return false;
    if (owner_ != nullptr)
        owner_->SaveCurrentNode();
    return true;
}

}  // namespace q93
