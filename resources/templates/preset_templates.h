#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// The pages of the preset set and the Location page. Every page is 230 x 190 dialog units
// with its controls inside one frame of 216 x 176 at 7,7.
extern const DialogTemplate kInputTemplate;     // 130
extern const DialogTemplate kOutputTemplate;    // 134
extern const DialogTemplate kLimiterTemplate;   // 136
extern const DialogTemplate kModeTemplate;      // 137
extern const DialogTemplate kTestTemplate;      // 139
extern const DialogTemplate kModCheckTemplate;  // 151
extern const DialogTemplate kLocationTemplate;  // 145
// The Location page's full path of LocationData, and its hint while there is no site.
inline constexpr int kDataFolderTextId = 1301;
inline constexpr int kNewSiteHintId = 1302;

}  // namespace q93
