#include "pages/location_prop.h"

#include "resources/templates/preset_templates.h"

namespace q93 {

LocationProp::LocationProp(QWidget* parent) : PropertyPage(kLocationTemplate, parent) {}

}  // namespace q93
