#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 106: the captionless popup that names the running transfer.
const DialogTemplate& progressPopupTemplate();

inline constexpr int kProgressText = 1129;

}  // namespace q93
