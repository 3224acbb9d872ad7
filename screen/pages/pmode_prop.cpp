#include "screen/pages/pmode_prop.h"

#include <QComboBox>

#include "protocol/parameter_set.h"
#include "resources/templates/mode_template.h"
#include "screen/pages/page_helpers.h"

namespace q93 {

PModeProp::PModeProp(ParameterSet& params, QWidget* parent)
    : PropertyPage(kModeTemplate, parent), params_(params) {}

void PModeProp::LoadFromParams() {
    if (!isBuilt()) {
        return;
    }
    const PresetParameters& preset = params_.preset;
    ShowListIndex(kModePreemphasis, preset.preemphasis);
    ShowListIndex(kModeOperationMode, preset.operationMode);
}

bool PModeProp::StoreToParams() {
    if (!isBuilt()) {
        return true;
    }
    PresetParameters& preset = params_.preset;
    preset.operationMode = StoredListIndex(kModeOperationMode);
    preset.preemphasis = StoredListIndex(kModePreemphasis);
    return true;
}

}  // namespace q93
