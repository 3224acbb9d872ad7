#include "pages/output_prop.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "pages/deviation_units.h"
#include "pages/edit_filter_table.h"
#include "pages/page_helpers.h"
#include "protocol/parameter_set.h"
#include "resources/templates/preset_templates.h"

namespace q93 {
namespace {

constexpr int kMpxGain = 1034;
constexpr int kAuxOutput = 1035;
constexpr int kPilotStatus = 1036;
constexpr int kPilotLevel = 1038;
constexpr int kUnitText = 1009;
constexpr int kPilotPhase = 1037;
constexpr int kHeadphone = 1010;

constexpr EditFilter kFilters[] = {
    {kMpxGain, kSignedDecimalChars, 4},
    {kPilotLevel, kSignedDecimalChars, 5},
    {kPilotPhase, kSignedDecimalChars, 4},
    {kHeadphone, kSignedDecimalChars, 5},
};

}  // namespace

OutputProp::OutputProp(ParameterSet& params, QWidget* parent)
    : PropertyPage(kOutputTemplate, parent), params_(params) {}

void OutputProp::InitDialog() {
    ApplyEditFilters(*this, kFilters);
}

void OutputProp::LoadFromParams() {
    if (!isBuilt()) {
        return;
    }
    const PresetParameters& preset = params_.preset;
    // The pilot level is shown at the precision the encoder keeps it in.
    const float level = static_cast<float>(DeviationToDisplay(params_.device, preset.pilotLevel));
    // The pilot runs from the deviation of -18 dBu up to that of -6 dBu.
    SetLabelText(
        controlAs<QLabel>(kUnitText),
        DeviationUnitText(params_.device, deviationAtMinus18dBu, deviationAtMinus6dBu, 124));
    ShowNumber(kMpxGain, preset.mpxGain, 1);
    ShowNumber(kPilotLevel, level, 1, preset.pilotLevel);
    ShowNumber(kPilotPhase, preset.pilotPhase, 1);
    SelectListIndex(controlAs<QComboBox>(kPilotStatus), preset.pilotStatus);
    SelectListIndex(controlAs<QComboBox>(kAuxOutput), preset.auxOutput);
    ShowNumber(kHeadphone, preset.headphoneLevel, 1);
}

bool OutputProp::StoreToParams() {
    if (!isBuilt()) {
        return true;
    }
    PresetParameters& preset = params_.preset;
    const double level = ParseRounded(controlAs<QLineEdit>(kPilotLevel), 1);
    preset.mpxGain = StoredRounded(kMpxGain, 1);
    preset.pilotLevel = StoredNumber(kPilotLevel, DisplayToDeviation(params_.device, level));
    preset.pilotPhase = StoredRounded(kPilotPhase, 1);
    preset.pilotStatus = SelectedListIndex(controlAs<QComboBox>(kPilotStatus));
    preset.auxOutput = SelectedListIndex(controlAs<QComboBox>(kAuxOutput));
    preset.headphoneLevel = StoredRounded(kHeadphone, 1);
    return true;
}

}  // namespace q93
