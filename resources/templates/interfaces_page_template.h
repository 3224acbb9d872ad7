#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 141, the Interfaces device page: baud rate and response mode of the encoder's
// four serial ports.
const DialogTemplate& interfacesPageTemplate();

}  // namespace q93
