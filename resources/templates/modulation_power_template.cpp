#include "resources/templates/modulation_power_template.h"

namespace q93 {
namespace {

using K = ControlKind;

constexpr ControlTemplate kControls[] = {
    {kModulationStartId, K::DefaultButton, 252, 152, 50, 14, "Start"},
    {kModulationStopId, K::PushButton, 252, 173, 50, 14, "Stop"},
    {kModulationCancelId, K::PushButton, 252, 192, 50, 14, "Abbruch"},
    {kModulationChartPlaceId, K::GroupBox, 7, 7, 229, 199, "Static"},
    {kStaticId, K::GroupBox, 242, 7, 60, 78, "Links / Rechts"},
    {kModulationMeterPlaceId, K::Label, 254, 21, 31, 54, "Static"},
};

// No resource number of its own is known; 107 follows the tool's other dialogs.
constexpr DialogTemplate kTemplate{107, "Modulationsleistung", nullptr, 309, 213, 8, kControls};

}  // namespace

const DialogTemplate& modulationPowerTemplate() {
    return kTemplate;
}

}  // namespace q93
