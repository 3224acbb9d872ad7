#include "screen/pages/test_prop.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "protocol/deviation_units.h"
#include "screen/pages/edit_filter_table.h"
#include "screen/pages/page_helpers.h"
#include "protocol/parameter_set.h"
#include "resources/templates/preset_templates.h"

namespace q93 {
namespace {

constexpr int kTestMode = 1040;
constexpr int kTestTone = 1016;
constexpr int kLevel = 1008;
constexpr int kUnitText = 1009;

constexpr EditFilter kFilters[] = {
    {kLevel, kSignedDecimalChars, 5},
};

}  // namespace

TestProp::TestProp(QWidget* parent) : PropertyPage(kTestTemplate, parent) {}

void TestProp::InitDialog() {
    ApplyEditFilters(*this, kFilters);
}

void TestProp::LoadFromParams() {
    if (!isBuilt()) {
        return;
    }
    const PresetParameters& preset = parameterSet().preset;
    const float level = static_cast<float>(DeviationToDisplay(preset.testToneLevel));
    SetLabelText(controlAs<QLabel>(kUnitText),
                 DeviationUnitText(deviationAtMinus18dBu, deviationAtPlus18dBu, 110));
    // The encoder numbers its test tones from 1. Checked before the subtraction: a corrupt
    // file may hold any number there, down to INT_MIN.
    SelectListIndex(controlAs<QComboBox>(kTestTone),
                    preset.testTone > 0 ? preset.testTone - 1 : -1);
    ShowNumber(kLevel, level, 1, preset.testToneLevel);
    SelectListIndex(controlAs<QComboBox>(kTestMode), preset.testMode);
}

bool TestProp::StoreToParams() {
    if (!isBuilt()) {
        return true;
    }
    PresetParameters& preset = parameterSet().preset;
    const double level = ParseRounded(controlAs<QLineEdit>(kLevel), 1);
    preset.testTone = SelectedListIndex(controlAs<QComboBox>(kTestTone)) + 1;
    preset.testToneLevel = StoredNumber(kLevel, DisplayToDeviation(level));
    preset.testMode = SelectedListIndex(controlAs<QComboBox>(kTestMode));
    return true;
}

}  // namespace q93
