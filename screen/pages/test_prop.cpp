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

TestProp::TestProp(ParameterSet& params, QWidget* parent)
    : PropertyPage(kTestTemplate, parent), params_(params) {}

void TestProp::InitDialog() {
    ApplyEditFilters(*this, kFilters);
}

void TestProp::LoadFromParams() {
    if (!isBuilt()) {
        return;
    }
    const PresetParameters& preset = params_.preset;
    const float level =
        static_cast<float>(DeviationToDisplay(params_.device, preset.testToneLevel));
    SetLabelText(
        controlAs<QLabel>(kTestUnitText),
        DeviationUnitText(params_.device, deviationAtMinus18dBu, deviationAtPlus18dBu, 110));
    // The encoder numbers its test tones from 1.
    ShowListIndex(kTestTone, preset.testTone, 1);
    ShowNumber(kTestLevel, level, 1, preset.testToneLevel);
    ShowListIndex(kTestMode, preset.testMode);
}

bool TestProp::StoreToParams() {
    if (!isBuilt()) {
        return true;
    }
    PresetParameters& preset = params_.preset;
    const double level = ParseRounded(controlAs<QLineEdit>(kTestLevel), 1);
    preset.testTone = StoredListIndex(kTestTone, 1);
    preset.testToneLevel = StoredNumber(kTestLevel, DisplayToDeviation(params_.device, level));
    preset.testMode = StoredListIndex(kTestMode);
    return true;
}

}  // namespace q93
