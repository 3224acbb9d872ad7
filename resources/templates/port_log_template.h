#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 103: the port log, a sizable window with its list and two buttons.
const DialogTemplate& portLogTemplate();

inline constexpr int kPortLogEntries = 1082;
inline constexpr int kPortLogClear = 1019;
inline constexpr int kPortLogSave = 1006;

}  // namespace q93
