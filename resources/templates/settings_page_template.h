#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 132, the Settings device page.
const DialogTemplate& settingsPageTemplate();

inline constexpr int kSettingsPresetList = 1015;
inline constexpr int kSettingsUnitKHz = 1024;
inline constexpr int kSettingsUnitDBu = 1026;
inline constexpr int kSettingsLanguageEnglish = 1025;
inline constexpr int kSettingsLanguageGerman = 1027;
inline constexpr int kSettingsSensitivity = 1041;
// The status frame: the input in use, its digital and analog channels, the AES/EBU line.
inline constexpr int kSettingsCurrentInput = 1062;
inline constexpr int kSettingsDigitalChannels = 1066;
inline constexpr int kSettingsAnalogChannels = 1067;
inline constexpr int kSettingsAesFrame = 1070;

}  // namespace q93
