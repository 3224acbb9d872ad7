#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// The modulation power dialog, German only: its texts show whatever the user's language.
const DialogTemplate& modulationPowerTemplate();

// Start is the dialog's OK command and Abbruch its cancel command, so Enter starts and
// Escape or the close box act as Abbruch.
inline constexpr int kModulationStartId = 1;
inline constexpr int kModulationCancelId = 2;
inline constexpr int kModulationStopId = 1002;
// The group box the chart window is laid over, and the static control the level meter
// takes the place of.
inline constexpr int kModulationChartPlaceId = 1043;
inline constexpr int kModulationMeterPlaceId = 1046;

}  // namespace q93
