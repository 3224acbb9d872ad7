#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 136, the Limiter page of the preset set.
extern const DialogTemplate kLimiterTemplate;

inline constexpr int kLimiterPeakOn = 1011;
inline constexpr int kLimiterPeakOff = 1012;
inline constexpr int kLimiterMaxDeviation = 1039;
inline constexpr int kLimiterPowerOn = 1013;
inline constexpr int kLimiterPowerOff = 1014;
inline constexpr int kLimiterMaxModulation = 1018;

}  // namespace q93
