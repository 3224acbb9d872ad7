#pragma once

#include <span>

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

// The items of the tree's context menu (menu 146, "DeviceContext"), in the order shown.
struct MenuItemTemplate {
    int id;
    const char* german;
    const char* english;
};
std::span<const MenuItemTemplate> treeMenuItems();
inline constexpr int kPropertiesItemId = 40001;
inline constexpr int kNewSiteItemId = 40002;
inline constexpr int kNewEncoderItemId = 40003;
inline constexpr int kRenameItemId = 40004;
inline constexpr int kRemoveItemId = 40005;

// Dialog 100, the about box.
const DialogTemplate& aboutBoxTemplate();
inline constexpr int kAboutVersionTextId = 1068;
inline constexpr int kAboutOkId = 1;

}  // namespace q93
