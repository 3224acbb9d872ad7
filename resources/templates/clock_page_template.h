#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 143, the Realtime clock device page.
const DialogTemplate& clockPageTemplate();

}  // namespace q93
