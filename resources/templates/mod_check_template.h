#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 151, the Mod Check page of the preset set.
extern const DialogTemplate kModCheckTemplate;

inline constexpr int kModCheckSignaling = 1065;
inline constexpr int kModCheckDigitalOff = 1063;
inline constexpr int kModCheckDigitalOn = 1069;
inline constexpr int kModCheckDigitalLevel = 1064;
inline constexpr int kModCheckAnalogOff = 1066;
inline constexpr int kModCheckAnalogOn = 1070;
inline constexpr int kModCheckAnalogLevel = 1067;

}  // namespace q93
