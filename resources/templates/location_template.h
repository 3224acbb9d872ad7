#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 145, the Location page.
extern const DialogTemplate kLocationTemplate;

// The full path of LocationData, and the hint while there is no site.
inline constexpr int kDataFolderTextId = 1301;
inline constexpr int kNewSiteHintId = 1302;

}  // namespace q93
