#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 102, the main window: its group boxes and buttons. The tree and the sheet are not
// plain controls; where they go is given apart (kLocationTreeId, kSheetPlaceholderId).
const DialogTemplate& mainWindowTemplate();
// The two places the window fills itself, in dialog units, by id.
const ControlTemplate& mainWindowPlace(int id);

inline constexpr int kLocationTreeId = 1000;
inline constexpr int kPortLogButtonId = 1002;
inline constexpr int kConnectButtonId = 1003;
inline constexpr int kSaveButtonId = 1004;
inline constexpr int kReadButtonId = 1005;
inline constexpr int kUpdateButtonId = 1006;
inline constexpr int kSheetPlaceholderId = 1014;
inline constexpr int kDynamicDataButtonId = 1044;

// Dialog 100, the about box.
const DialogTemplate& aboutBoxTemplate();
inline constexpr int kAboutVersionTextId = 1068;
inline constexpr int kAboutOkId = 1;

}  // namespace q93
