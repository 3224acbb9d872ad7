#include "pages/adjust_prop.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "base/user_seam.h"
#include "pages/page_helpers.h"
#include "pages/page_owner.h"
#include "pages/settings_number_check.h"
#include "pages/settings_status_texts.h"
#include "protocol/parameter_set.h"
#include "resources/templates/settings_page_template.h"

namespace q93 {
namespace {

constexpr int kPresetList = 1015;
constexpr int kUnitKHz = 1024;
constexpr int kUnitDBu = 1026;
constexpr int kLanguageEnglish = 1025;
constexpr int kLanguageGerman = 1027;
constexpr int kSensitivity = 1041;
constexpr int kCurrentInput = 1062;
constexpr int kDigitalChannels = 1066;
constexpr int kAnalogChannels = 1067;
constexpr int kAesFrame = 1070;

constexpr int kSensitivityMaxLength = 5;
// German whatever the user's language: the encoder's tool never had it translated.
constexpr const char* kNotANumber = "Geben Sie bitte eine Zahl ein.";

}  // namespace

AdjustProp::AdjustProp(PageOwner* owner, ParameterSet& params, QWidget* parent)
    : PropertyPage(settingsPageTemplate(), parent), owner_(owner), params_(params) {}

void AdjustProp::InitDialog() {
    SetEditFilter(controlAs<QLineEdit>(kSensitivity), kSignedDecimalChars, kSensitivityMaxLength);
    SetLabelText(controlAs<QLabel>(kAesFrame), "");
}

void AdjustProp::LoadFromParams() {
    const DeviceParameters& device = params_.device;
    SelectListIndex(controlAs<QComboBox>(kPresetList), device.activePreset);
    SetRadioPair(device.levelUnit, controlAs<QRadioButton>(kUnitDBu),
                 controlAs<QRadioButton>(kUnitKHz));
    SetRadioPair(device.language, controlAs<QRadioButton>(kLanguageGerman),
                 controlAs<QRadioButton>(kLanguageEnglish));
    ShowNumber(kSensitivity, device.sensitivity40k, 1);
    loadStatus();
}

void AdjustProp::loadStatus() {
    const DeviceStatus& status = params_.status;
    SetLabelText(controlAs<QLabel>(kCurrentInput), CurrentInputText(status.currentInput));
    // Before the first device read the other three keep what they showed.
    if (status.currentInput == -1)
        return;
    SetLabelText(controlAs<QLabel>(kDigitalChannels), ChannelsText(status.digitalChannels));
    SetLabelText(controlAs<QLabel>(kAnalogChannels), ChannelsText(status.analogChannels));
    SetLabelText(controlAs<QLabel>(kAesFrame), AesFrameText(status.aesFrameStatus));
}

bool AdjustProp::checkSensitivity() {
    auto* edit = controlAs<QLineEdit>(kSensitivity);
    if (edit == nullptr)
        return true;
    if (IsSensitivityNumber(edit->text().toStdString()))
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
    device.activePreset = SelectedListIndex(controlAs<QComboBox>(kPresetList));
    device.levelUnit = isOn(controlAs<QRadioButton>(kUnitKHz)) ? 0 : 1;
    device.language = isOn(controlAs<QRadioButton>(kLanguageEnglish)) ? 0 : 1;
    device.sensitivity40k =
        StoredNumber(kSensitivity, ParseNumber(controlAs<QLineEdit>(kSensitivity)));
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
