#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 132, the Settings device page.
const DialogTemplate& settingsPageTemplate();

}  // namespace q93
