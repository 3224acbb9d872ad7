#include "resources/templates/location_template.h"

namespace q93 {
namespace {

// Inside the frame: the folder the tool works in, and while it holds no site, how to make one.
constexpr ControlTemplate kControls[] = {
    {kStaticId, ControlKind::GroupBox, 7, 7, 216, 176, ""},
    {kStaticId, ControlKind::Label, 15, 20, 200, 10, "Standortdaten:", "Location data:"},
    {kDataFolderTextId, ControlKind::Label, 15, 32, 200, 60, ""},
    {kNewSiteHintId, ControlKind::Label, 15, 100, 200, 20, "Rechte Maustaste: Neuer Standort...",
     "Right-click: New site..."},
};

}  // namespace

const DialogTemplate kLocationTemplate{145, "Standort", "Location", 230, 190, 8, kControls};

}  // namespace q93
