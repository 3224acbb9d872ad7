#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 144, the Correction values device page (German only), and dialog 104, the small
// dialog that edits one value of its list.
const DialogTemplate& correctionPageTemplate();
const DialogTemplate& correctionEditTemplate();

inline constexpr int kCorrectionList = 1023;
inline constexpr int kCorrectionValueEdit = 1137;
// The edit dialog's buttons carry the platform's OK and Cancel ids.
inline constexpr int kOkButtonId = 1;
inline constexpr int kCancelButtonId = 2;

}  // namespace q93
