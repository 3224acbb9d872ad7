#include "resources/templates/preset_templates.h"

namespace q93 {
namespace {

constexpr ControlTemplate kControls[] = {
    {kStaticId, ControlKind::GroupBox, 7, 7, 216, 176, ""},
};

}  // namespace

const DialogTemplate kLocationTemplate{145, "Standort", "Location", 230, 190, 8, kControls};

}  // namespace q93
