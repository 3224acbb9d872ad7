#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 137, the Mode page of the preset set.
extern const DialogTemplate kModeTemplate;

inline constexpr int kModeOperationMode = 1053;
inline constexpr int kModePreemphasis = 1017;

}  // namespace q93
