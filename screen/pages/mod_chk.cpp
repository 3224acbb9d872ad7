#include "screen/pages/mod_chk.h"

#include <QCheckBox>
#include <QLineEdit>

#include "protocol/deviation_units.h"
#include "screen/pages/edit_filter_table.h"
#include "screen/pages/page_helpers.h"
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
// the conversion runs with the unit switched to dBu for its duration only.
class DbuForConversion {
public:
    DbuForConversion() : saved_(parameterSet().device.levelUnit) {
        parameterSet().device.levelUnit = 1;
    }
    ~DbuForConversion() { parameterSet().device.levelUnit = saved_; }
    DbuForConversion(const DbuForConversion&) = delete;
    DbuForConversion& operator=(const DbuForConversion&) = delete;

private:
    std::int32_t saved_;
};

double analogLevelInDbu(double deviation) {
    const DbuForConversion dbu;
    return DeviationToDisplay(deviation);
}

double analogLevelFromDbu(double dbu) {
    const DbuForConversion inDbu;
    return DisplayToDeviation(dbu);
}

}  // namespace

ModChk::ModChk(QWidget* parent) : PropertyPage(kModCheckTemplate, parent) {}

void ModChk::InitDialog() {
    ApplyEditFilters(*this, kFilters);
}

void ModChk::LoadFromParams() {
    if (!isBuilt()) {
        return;
    }
    const PresetParameters& preset = parameterSet().preset;
    if (auto* signaling = controlAs<QCheckBox>(kSignaling)) {
        signaling->setChecked(preset.modChkSignaling != 0);
    }
    FormatInteger(controlAs<QLineEdit>(kDigitalOff), preset.modChkDigitalOffTime);
    FormatInteger(controlAs<QLineEdit>(kDigitalOn), preset.modChkDigitalOnTime);
    ShowNumber(kDigitalLevel, preset.modChkDigitalLevel, 1);
    FormatInteger(controlAs<QLineEdit>(kAnalogOff), preset.modChkAnalogOffTime);
    FormatInteger(controlAs<QLineEdit>(kAnalogOn), preset.modChkAnalogOnTime);
    ShowNumber(kAnalogLevel, analogLevelInDbu(preset.modChkAnalogLevel), 1,
               preset.modChkAnalogLevel);
}

bool ModChk::StoreToParams() {
    if (!isBuilt()) {
        return true;
    }
    PresetParameters& preset = parameterSet().preset;
    preset.modChkSignaling = isOn(controlAs<QCheckBox>(kSignaling)) ? 1 : 0;
    preset.modChkDigitalOffTime = ParseInteger(controlAs<QLineEdit>(kDigitalOff));
    preset.modChkDigitalOnTime = ParseInteger(controlAs<QLineEdit>(kDigitalOn));
    preset.modChkDigitalLevel = StoredRounded(kDigitalLevel, 1);
    preset.modChkAnalogOffTime = ParseInteger(controlAs<QLineEdit>(kAnalogOff));
    preset.modChkAnalogOnTime = ParseInteger(controlAs<QLineEdit>(kAnalogOn));
    preset.modChkAnalogLevel = StoredNumber(
        kAnalogLevel, analogLevelFromDbu(ParseRounded(controlAs<QLineEdit>(kAnalogLevel), 1)));
    return true;
}

}  // namespace q93
