#include "screen/pages/limit_prop.h"

#include <QLineEdit>
#include <QRadioButton>

#include "protocol/parameter_set.h"
#include "resources/templates/limiter_template.h"
#include "screen/pages/edit_filter_table.h"
#include "screen/pages/page_helpers.h"

namespace q93 {
namespace {

// The maximum deviation is always positive and in kHz, whatever the level unit.
constexpr EditFilter kFilters[] = {
    {kLimiterMaxModulation, kSignedDecimalChars, 4},
    {kLimiterMaxDeviation, kUnsignedDecimalChars, 5},
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
    SetRadioPair(preset.powerLimiterOn, controlAs<QRadioButton>(kLimiterPowerOn),
                 controlAs<QRadioButton>(kLimiterPowerOff));
    ShowNumber(kLimiterMaxModulation, preset.maxModulationOutput, 1);
    SetRadioPair(preset.peakLimiterOn, controlAs<QRadioButton>(kLimiterPeakOn),
                 controlAs<QRadioButton>(kLimiterPeakOff));
    ShowNumber(kLimiterMaxDeviation, preset.maxDeviation, 1);
}

bool LimitProp::StoreToParams() {
    if (!isBuilt()) {
        return true;
    }
    PresetParameters& preset = params_.preset;
    preset.powerLimiterOn = isOn(controlAs<QRadioButton>(kLimiterPowerOn)) ? 1 : 0;
    preset.maxModulationOutput = StoredRounded(kLimiterMaxModulation, 1);
    preset.peakLimiterOn = isOn(controlAs<QRadioButton>(kLimiterPeakOn)) ? 1 : 0;
    preset.maxDeviation = StoredRounded(kLimiterMaxDeviation, 1);
    return true;
}

}  // namespace q93
