#include "screen/pages/output_prop.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "protocol/deviation_units.h"
#include "protocol/parameter_set.h"
#include "resources/templates/output_template.h"
#include "screen/pages/edit_filter_table.h"
#include "screen/pages/page_helpers.h"

namespace q93 {
namespace {

constexpr EditFilter kFilters[] = {
    {kOutputMpxGain, kSignedDecimalChars, 4},
    {kOutputPilotLevel, kSignedDecimalChars, 5},
    {kOutputPilotPhase, kSignedDecimalChars, 4},
    {kOutputHeadphone, kSignedDecimalChars, 5},
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
        controlAs<QLabel>(kOutputUnitText),
        DeviationUnitText(params_.device, deviationAtMinus18dBu, deviationAtMinus6dBu, 124));
    ShowNumber(kOutputMpxGain, preset.mpxGain, 1);
    ShowNumber(kOutputPilotLevel, level, 1, preset.pilotLevel);
    ShowNumber(kOutputPilotPhase, preset.pilotPhase, 1);
    ShowListIndex(kOutputPilotStatus, preset.pilotStatus);
    ShowListIndex(kOutputAuxOutput, preset.auxOutput);
    ShowNumber(kOutputHeadphone, preset.headphoneLevel, 1);
}

bool OutputProp::StoreToParams() {
    if (!isBuilt()) {
        return true;
    }
    PresetParameters& preset = params_.preset;
    const double level = ParseRounded(controlAs<QLineEdit>(kOutputPilotLevel), 1);
    preset.mpxGain = StoredRounded(kOutputMpxGain, 1);
    preset.pilotLevel = StoredNumber(kOutputPilotLevel, DisplayToDeviation(params_.device, level));
    preset.pilotPhase = StoredRounded(kOutputPilotPhase, 1);
    preset.pilotStatus = StoredListIndex(kOutputPilotStatus);
    preset.auxOutput = StoredListIndex(kOutputAuxOutput);
    preset.headphoneLevel = StoredRounded(kOutputHeadphone, 1);
    return true;
}

}  // namespace q93
