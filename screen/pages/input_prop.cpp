#include "screen/pages/input_prop.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "protocol/deviation_units.h"
#include "protocol/parameter_set.h"
#include "resources/templates/input_template.h"
#include "screen/pages/edit_filter_table.h"
#include "screen/pages/page_helpers.h"

namespace q93 {
namespace {

// The level display stops at the lowest level the encoder's input takes.
constexpr double kLowestLevel = -18.0;

constexpr EditFilter kFilters[] = {
    {kInputSca1Gain, kSignedDecimalChars, 4},
    {kInputSca2Gain, kSignedDecimalChars, 4},
    {kInputLevel, kSignedDecimalChars, 5},
    {kInputAesSensitivity, kSignedDecimalChars, 5},
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
        controlAs<QLabel>(kInputUnitText),
        DeviationUnitText(params_.device, deviationAtMinus18dBu, deviationAtPlus18dBu, 110));
    ShowListIndex(kInputSource, preset.inputSource);
    ShowNumber(kInputSca1Gain, preset.sca1Gain, 1);
    ShowNumber(kInputSca2Gain, preset.sca2Gain, 1);
    ShowNumber(kInputLevel, level, 1, clamped ? std::nullopt : std::optional(preset.inputLevel));
    ShowNumber(kInputAesSensitivity, preset.aesSensitivity, 1);
    SetRadioOfFour(preset.scaMode, controlAs<QRadioButton>(kInputScaOff),
                   controlAs<QRadioButton>(kInputSca1), controlAs<QRadioButton>(kInputSca2),
                   controlAs<QRadioButton>(kInputSca12));
    FormatInteger(controlAs<QLineEdit>(kInputDelayDigitalAnalog), preset.delayDigitalAnalog);
    FormatInteger(controlAs<QLineEdit>(kInputDelayAnalogDigital), preset.delayAnalogDigital);
}

bool InputProp::StoreToParams() {
    if (!isBuilt()) {
        return true;
    }
    PresetParameters& preset = params_.preset;
    const double level = ParseRounded(controlAs<QLineEdit>(kInputLevel), 2);
    preset.inputSource = StoredListIndex(kInputSource);
    preset.sca1Gain = StoredRounded(kInputSca1Gain, 1);
    preset.sca2Gain = StoredRounded(kInputSca2Gain, 1);
    preset.inputLevel = StoredNumber(kInputLevel, DisplayToDeviation(params_.device, level));
    preset.aesSensitivity = StoredRounded(kInputAesSensitivity, 1);
    preset.delayDigitalAnalog = ParseInteger(controlAs<QLineEdit>(kInputDelayDigitalAnalog));
    preset.delayAnalogDigital = ParseInteger(controlAs<QLineEdit>(kInputDelayAnalogDigital));
    if (isOn(controlAs<QRadioButton>(kInputScaOff))) {
        preset.scaMode = 0;
    } else if (isOn(controlAs<QRadioButton>(kInputSca1))) {
        preset.scaMode = 1;
    } else if (isOn(controlAs<QRadioButton>(kInputSca2))) {
        preset.scaMode = 2;
    } else {
        preset.scaMode = 3;
    }
    return true;
}

}  // namespace q93
