#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 143, the Realtime clock device page.
const DialogTemplate& clockPageTemplate();

inline constexpr int kClockPcTime = 1047;
inline constexpr int kClockManual = 1048;
inline constexpr int kClockDate = 1021;
inline constexpr int kClockTime = 1022;
// The offset list, hidden with its label.
inline constexpr int kClockOffsetList = 1051;
inline constexpr int kClockSend = 1006;
inline constexpr int kClockRead = 1005;

}  // namespace q93
