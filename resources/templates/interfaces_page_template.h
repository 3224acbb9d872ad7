#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 141, the Interfaces device page: baud rate and response mode of the encoder's
// four serial ports.
const DialogTemplate& interfacesPageTemplate();

inline constexpr int kInterfacesFrontBaud = 1028;
inline constexpr int kInterfacesFrontResponse = 1056;
inline constexpr int kInterfacesDte1Baud = 1029;
inline constexpr int kInterfacesDte1Response = 1057;
inline constexpr int kInterfacesDte2Baud = 1018;
inline constexpr int kInterfacesDte2Response = 1059;
inline constexpr int kInterfacesDte3Baud = 1019;
inline constexpr int kInterfacesDte3Response = 1061;

}  // namespace q93
