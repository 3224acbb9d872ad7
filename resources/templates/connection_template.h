#pragma once

#include "resources/dialog_template.h"

namespace q93 {

// Dialog 105: how to reach one encoder, with a ping of its address.
const DialogTemplate& connectionTemplate();

// Its controls; OK and Cancel carry the platform's ids 1 and 2.
inline constexpr int kConnectionOk = 1;
inline constexpr int kConnectionCancel = 2;
inline constexpr int kConnectionIpAddress = 1132;
inline constexpr int kConnectionTcpPort = 1071;
inline constexpr int kConnectionPing = 1201;
inline constexpr int kConnectionPingResult = 1202;
inline constexpr int kConnectionPort = 1022;
inline constexpr int kConnectionSpeed = 1057;
inline constexpr int kConnectionReadAck = 1059;

}  // namespace q93
