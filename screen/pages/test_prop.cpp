#include "screen/pages/test_prop.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "protocol/deviation_units.h"
#include "protocol/parameter_set.h"
#include "resources/templates/test_template.h"
#include "screen/pages/edit_filter_table.h"
#include "screen/pages/page_helpers.h"

namespace q93 {
namespace {

constexpr EditFilter kFilters[] = {
    {kTestLevel, kSignedDecimalChars, 5},
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
    SetLabelText(controlAs<QLabel>(kTestUnitText),
                 DeviationUnitText(deviationAtMinus18dBu, deviationAtPlus18dBu, 110));
    // The encoder numbers its test tones from 1. Checked before the subtraction: a corrupt
    // file may hold any number there, down to INT_MIN.
    SelectListIndex(controlAs<QComboBox>(kTestTone),
                    preset.testTone > 0 ? preset.testTone - 1 : -1);
    ShowNumber(kTestLevel, level, 1, preset.testToneLevel);
    SelectListIndex(controlAs<QComboBox>(kTestMode), preset.testMode);
}

bool TestProp::StoreToParams() {
    if (!isBuilt()) {
        return true;
    }
    PresetParameters& preset = parameterSet().preset;
    const double level = ParseRounded(controlAs<QLineEdit>(kTestLevel), 1);
    preset.testTone = SelectedListIndex(controlAs<QComboBox>(kTestTone)) + 1;
    preset.testToneLevel = StoredNumber(kTestLevel, DisplayToDeviation(level));
    preset.testMode = SelectedListIndex(controlAs<QComboBox>(kTestMode));
    return true;
}

}  // namespace q93
