#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 139, the Test page of the preset set.
extern const DialogTemplate kTestTemplate;

inline constexpr int kTestMode = 1040;
inline constexpr int kTestTone = 1016;
inline constexpr int kTestLevel = 1008;
// The unit and range beside the test tone level.
inline constexpr int kTestUnitText = 1009;

}  // namespace q93
