#include "pages/input_prop.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "pages/deviation_units.h"
#include "pages/edit_filter_table.h"
#include "pages/page_helpers.h"
#include "protocol/parameter_set.h"
#include "resources/templates/preset_templates.h"

namespace q93 {
namespace {

constexpr int kSource = 1007;
constexpr int kLevel = 1030;
constexpr int kUnitText = 1009;
constexpr int kAesSensitivity = 1031;
constexpr int kScaOff = 1032;
constexpr int kSca1 = 1033;
constexpr int kSca2 = 1034;
constexpr int kSca12 = 1035;
constexpr int kSca1Gain = 1013;
constexpr int kSca2Gain = 1014;
constexpr int kDelayDigitalAnalog = 1054;
constexpr int kDelayAnalogDigital = 1055;

// The level display stops at the lowest level the encoder's input takes.
constexpr double kLowestLevel = -18.0;

constexpr EditFilter kFilters[] = {
    {kSca1Gain, kSignedDecimalChars, 4},
    {kSca2Gain, kSignedDecimalChars, 4},
    {kLevel, kSignedDecimalChars, 5},
    {kAesSensitivity, kSignedDecimalChars, 5},
};

}  // namespace

InputProp::InputProp(ParameterSet& params, QWidget* parent)
    : PropertyPage(kInputTemplate, parent), params_(params) {}

void InputProp::InitDialog() {
    ApplyEditFilters(*this, kFilters);
}

void InputProp::LoadFromParams() {
    // Skipped until the controls exist and carry their filters.
    if (!isBuilt()) {
        return;
    }
    const PresetParameters& preset = params_.preset;
    double level = DeviationToDisplay(params_.device, preset.inputLevel);
    // A clamped level stands for the lowest level, and leaving the page stores that.
    const bool clamped = level < kLowestLevel;
    if (clamped) {
        level = kLowestLevel;
    }
    SetLabelText(
        controlAs<QLabel>(kUnitText),
        DeviationUnitText(params_.device, deviationAtMinus18dBu, deviationAtPlus18dBu, 110));
    SelectListIndex(controlAs<QComboBox>(kSource), preset.inputSource);
    ShowNumber(kSca1Gain, preset.sca1Gain, 1);
    ShowNumber(kSca2Gain, preset.sca2Gain, 1);
    ShowNumber(kLevel, level, 1, clamped ? std::nullopt : std::optional(preset.inputLevel));
    ShowNumber(kAesSensitivity, preset.aesSensitivity, 1);
    SetRadioOfFour(preset.scaMode, controlAs<QRadioButton>(kScaOff), controlAs<QRadioButton>(kSca1),
                   controlAs<QRadioButton>(kSca2), controlAs<QRadioButton>(kSca12));
    FormatInteger(controlAs<QLineEdit>(kDelayDigitalAnalog), preset.delayDigitalAnalog);
    FormatInteger(controlAs<QLineEdit>(kDelayAnalogDigital), preset.delayAnalogDigital);
}

bool InputProp::StoreToParams() {
    if (!isBuilt()) {
        return true;
    }
    PresetParameters& preset = params_.preset;
    const double level = ParseRounded(controlAs<QLineEdit>(kLevel), 2);
    preset.inputSource = SelectedListIndex(controlAs<QComboBox>(kSource));
    preset.sca1Gain = StoredRounded(kSca1Gain, 1);
    preset.sca2Gain = StoredRounded(kSca2Gain, 1);
    preset.inputLevel = StoredNumber(kLevel, DisplayToDeviation(params_.device, level));
    preset.aesSensitivity = StoredRounded(kAesSensitivity, 1);
    preset.delayDigitalAnalog = ParseInteger(controlAs<QLineEdit>(kDelayDigitalAnalog));
    preset.delayAnalogDigital = ParseInteger(controlAs<QLineEdit>(kDelayAnalogDigital));
    if (isOn(controlAs<QRadioButton>(kScaOff))) {
        preset.scaMode = 0;
    } else if (isOn(controlAs<QRadioButton>(kSca1))) {
        preset.scaMode = 1;
    } else if (isOn(controlAs<QRadioButton>(kSca2))) {
        preset.scaMode = 2;
    } else {
        preset.scaMode = 3;
    }
    return true;
}

}  // namespace q93
