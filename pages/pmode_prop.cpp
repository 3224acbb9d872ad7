#include "pages/pmode_prop.h"

#include <QComboBox>

#include "pages/page_helpers.h"
#include "protocol/parameter_set.h"
#include "resources/templates/preset_templates.h"

namespace q93 {
namespace {

constexpr int kOperationMode = 1053;
constexpr int kPreemphasis = 1017;

}  // namespace

PModeProp::PModeProp(ParameterSet& params, QWidget* parent)
    : PropertyPage(kModeTemplate, parent), params_(params) {}

void PModeProp::LoadFromParams() {
    if (!isBuilt()) {
        return;
    }
    const PresetParameters& preset = params_.preset;
    SelectListIndex(controlAs<QComboBox>(kPreemphasis), preset.preemphasis);
    SelectListIndex(controlAs<QComboBox>(kOperationMode), preset.operationMode);
}

bool PModeProp::StoreToParams() {
    if (!isBuilt()) {
        return true;
    }
    PresetParameters& preset = params_.preset;
    preset.operationMode = SelectedListIndex(controlAs<QComboBox>(kOperationMode));
    preset.preemphasis = SelectedListIndex(controlAs<QComboBox>(kPreemphasis));
    return true;
}

}  // namespace q93
