#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 134, the Output page of the preset set.
extern const DialogTemplate kOutputTemplate;

inline constexpr int kOutputMpxGain = 1034;
inline constexpr int kOutputAuxOutput = 1035;
inline constexpr int kOutputPilotStatus = 1036;
inline constexpr int kOutputPilotLevel = 1038;
// The unit and range beside the pilot level.
inline constexpr int kOutputUnitText = 1009;
inline constexpr int kOutputPilotPhase = 1037;
inline constexpr int kOutputHeadphone = 1010;

}  // namespace q93
