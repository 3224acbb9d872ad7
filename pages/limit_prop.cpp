#include "pages/limit_prop.h"

#include <QLineEdit>
#include <QRadioButton>

#include "pages/edit_filter_table.h"
#include "pages/page_helpers.h"
#include "protocol/parameter_set.h"
#include "resources/templates/preset_templates.h"

namespace q93 {
namespace {

constexpr int kPeakOn = 1011;
constexpr int kPeakOff = 1012;
constexpr int kMaxDeviation = 1039;
constexpr int kPowerOn = 1013;
constexpr int kPowerOff = 1014;
constexpr int kMaxModulation = 1018;

// The maximum deviation is always positive and in kHz, whatever the level unit.
constexpr EditFilter kFilters[] = {
    {kMaxModulation, kSignedDecimalChars, 4},
    {kMaxDeviation, kUnsignedDecimalChars, 5},
};

}  // namespace

LimitProp::LimitProp(ParameterSet& params, QWidget* parent)
    : PropertyPage(kLimiterTemplate, parent), params_(params) {}

void LimitProp::InitDialog() {
    ApplyEditFilters(*this, kFilters);
}

void LimitProp::LoadFromParams() {
    if (!isBuilt()) {
        return;
    }
    const PresetParameters& preset = params_.preset;
    SetRadioPair(preset.powerLimiterOn, controlAs<QRadioButton>(kPowerOn),
                 controlAs<QRadioButton>(kPowerOff));
    ShowNumber(kMaxModulation, preset.maxModulationOutput, 1);
    SetRadioPair(preset.peakLimiterOn, controlAs<QRadioButton>(kPeakOn),
                 controlAs<QRadioButton>(kPeakOff));
    ShowNumber(kMaxDeviation, preset.maxDeviation, 1);
}

bool LimitProp::StoreToParams() {
    if (!isBuilt()) {
        return true;
    }
    PresetParameters& preset = params_.preset;
    preset.powerLimiterOn = isOn(controlAs<QRadioButton>(kPowerOn)) ? 1 : 0;
    preset.maxModulationOutput = StoredRounded(kMaxModulation, 1);
    preset.peakLimiterOn = isOn(controlAs<QRadioButton>(kPeakOn)) ? 1 : 0;
    preset.maxDeviation = StoredRounded(kMaxDeviation, 1);
    return true;
}

}  // namespace q93
