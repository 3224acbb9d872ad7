#include "screen/pages/mod_chk.h"

#include <QCheckBox>
#include <QLineEdit>

#include "protocol/deviation_units.h"
#include "protocol/parameter_set.h"
#include "resources/templates/mod_check_template.h"
#include "screen/pages/edit_filter_table.h"
#include "screen/pages/page_helpers.h"

namespace q93 {
namespace {

// Three digits for the times: 999 s is the longest that can be typed.
constexpr EditFilter kFilters[] = {
    {kModCheckDigitalOff, kUnsignedIntegerChars, 3}, {kModCheckDigitalOn, kUnsignedIntegerChars, 3},
    {kModCheckDigitalLevel, kSignedDecimalChars, 5}, {kModCheckAnalogOff, kUnsignedIntegerChars, 3},
    {kModCheckAnalogOn, kUnsignedIntegerChars, 3},   {kModCheckAnalogLevel, kSignedDecimalChars, 5},
};

// The analog threshold is a deviation that the encoder's display always gives in dBu, so
// the conversion runs with the device's sensitivity but the unit dBu.
DeviceParameters inDbu(const DeviceParameters& device) {
    DeviceParameters dbu = device;
    dbu.levelUnit = 1;
    return dbu;
}

double analogLevelInDbu(const DeviceParameters& device, double deviation) {
    return DeviationToDisplay(inDbu(device), deviation);
}

double analogLevelFromDbu(const DeviceParameters& device, double dbu) {
    return DisplayToDeviation(inDbu(device), dbu);
}

}  // namespace

ModChk::ModChk(ParameterSet& params, QWidget* parent)
    : PropertyPage(kModCheckTemplate, parent), params_(params) {}

void ModChk::InitDialog() {
    ApplyEditFilters(*this, kFilters);
}

void ModChk::LoadFromParams() {
    if (!isBuilt()) {
        return;
    }
    const PresetParameters& preset = params_.preset;
    if (auto* signaling = controlAs<QCheckBox>(kModCheckSignaling)) {
        signaling->setChecked(preset.modChkSignaling != 0);
    }
    FormatInteger(controlAs<QLineEdit>(kModCheckDigitalOff), preset.modChkDigitalOffTime);
    FormatInteger(controlAs<QLineEdit>(kModCheckDigitalOn), preset.modChkDigitalOnTime);
    ShowNumber(kModCheckDigitalLevel, preset.modChkDigitalLevel, 1);
    FormatInteger(controlAs<QLineEdit>(kModCheckAnalogOff), preset.modChkAnalogOffTime);
    FormatInteger(controlAs<QLineEdit>(kModCheckAnalogOn), preset.modChkAnalogOnTime);
    ShowNumber(kModCheckAnalogLevel, analogLevelInDbu(params_.device, preset.modChkAnalogLevel), 1,
               preset.modChkAnalogLevel);
}

bool ModChk::StoreToParams() {
    if (!isBuilt()) {
        return true;
    }
    PresetParameters& preset = params_.preset;
    preset.modChkSignaling = isOn(controlAs<QCheckBox>(kModCheckSignaling)) ? 1 : 0;
    preset.modChkDigitalOffTime = ParseInteger(controlAs<QLineEdit>(kModCheckDigitalOff));
    preset.modChkDigitalOnTime = ParseInteger(controlAs<QLineEdit>(kModCheckDigitalOn));
    preset.modChkDigitalLevel = StoredRounded(kModCheckDigitalLevel, 1);
    preset.modChkAnalogOffTime = ParseInteger(controlAs<QLineEdit>(kModCheckAnalogOff));
    preset.modChkAnalogOnTime = ParseInteger(controlAs<QLineEdit>(kModCheckAnalogOn));
    preset.modChkAnalogLevel = StoredNumber(
        kModCheckAnalogLevel,
        analogLevelFromDbu(params_.device,
                           ParseRounded(controlAs<QLineEdit>(kModCheckAnalogLevel), 1)));
    return true;
}

}  // namespace q93
