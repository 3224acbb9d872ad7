#pragma once

namespace q93 {

// Chooses German when the Qt system locale is German, else English.
void applySystemLanguage();

}  // namespace q93
