#include "pages/mod_chk.h"

#include <QCheckBox>
#include <QLineEdit>

#include "pages/deviation_units.h"
#include "pages/edit_filter_table.h"
#include "pages/page_helpers.h"
#include "protocol/parameter_set.h"
#include "resources/templates/preset_templates.h"

namespace q93 {
namespace {

constexpr int kSignaling = 1065;
constexpr int kDigitalOff = 1063;
constexpr int kDigitalOn = 1069;
constexpr int kDigitalLevel = 1064;
constexpr int kAnalogOff = 1066;
constexpr int kAnalogOn = 1070;
constexpr int kAnalogLevel = 1067;

// Three digits for the times: 999 s is the longest that can be typed.
constexpr EditFilter kFilters[] = {
    {kDigitalOff, kUnsignedIntegerChars, 3}, {kDigitalOn, kUnsignedIntegerChars, 3},
    {kDigitalLevel, kSignedDecimalChars, 5}, {kAnalogOff, kUnsignedIntegerChars, 3},
    {kAnalogOn, kUnsignedIntegerChars, 3},   {kAnalogLevel, kSignedDecimalChars, 5},
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
    if (auto* signaling = controlAs<QCheckBox>(kSignaling)) {
        signaling->setChecked(preset.modChkSignaling != 0);
    }
    FormatInteger(controlAs<QLineEdit>(kDigitalOff), preset.modChkDigitalOffTime);
    FormatInteger(controlAs<QLineEdit>(kDigitalOn), preset.modChkDigitalOnTime);
    ShowNumber(kDigitalLevel, preset.modChkDigitalLevel, 1);
    FormatInteger(controlAs<QLineEdit>(kAnalogOff), preset.modChkAnalogOffTime);
    FormatInteger(controlAs<QLineEdit>(kAnalogOn), preset.modChkAnalogOnTime);
    ShowNumber(kAnalogLevel, analogLevelInDbu(params_.device, preset.modChkAnalogLevel), 1,
               preset.modChkAnalogLevel);
}

bool ModChk::StoreToParams() {
    if (!isBuilt()) {
        return true;
    }
    PresetParameters& preset = params_.preset;
    preset.modChkSignaling = isOn(controlAs<QCheckBox>(kSignaling)) ? 1 : 0;
    preset.modChkDigitalOffTime = ParseInteger(controlAs<QLineEdit>(kDigitalOff));
    preset.modChkDigitalOnTime = ParseInteger(controlAs<QLineEdit>(kDigitalOn));
    preset.modChkDigitalLevel = StoredRounded(kDigitalLevel, 1);
    preset.modChkAnalogOffTime = ParseInteger(controlAs<QLineEdit>(kAnalogOff));
    preset.modChkAnalogOnTime = ParseInteger(controlAs<QLineEdit>(kAnalogOn));
    preset.modChkAnalogLevel = StoredNumber(
        kAnalogLevel,
        analogLevelFromDbu(params_.device, ParseRounded(controlAs<QLineEdit>(kAnalogLevel), 1)));
    return true;
}

}  // namespace q93
