#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 130, the Input page of the preset set.
extern const DialogTemplate kInputTemplate;

inline constexpr int kInputSource = 1007;
inline constexpr int kInputLevel = 1030;
// The unit and range beside the level, which follow the unit the encoder shows levels in.
inline constexpr int kInputUnitText = 1009;
inline constexpr int kInputAesSensitivity = 1031;
inline constexpr int kInputScaOff = 1032;
inline constexpr int kInputSca1 = 1033;
inline constexpr int kInputSca2 = 1034;
inline constexpr int kInputSca12 = 1035;
inline constexpr int kInputSca1Gain = 1013;
inline constexpr int kInputSca2Gain = 1014;
// Kept in the dialog, never shown.
inline constexpr int kInputDelayDigitalAnalog = 1054;
inline constexpr int kInputDelayAnalogDigital = 1055;

}  // namespace q93
