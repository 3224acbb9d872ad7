#pragma once

#include "protocol/clock_values.h"
#include "protocol/device_connection.h"

namespace q93 {

// Sets the encoder's clock. 0, or -1 after the failure was shown.
int WriteRtc(DeviceConnection& connection, int year, int month, int day, int hour, int minute,
             int second, int offsetCode);
// Reads it back; the out values are written only on success.
int ReadRtc(DeviceConnection& connection, int& year, int& month, int& day, int& hour, int& minute,
            int& second, int& offsetCode);
int WriteRtc(DeviceConnection& connection, const ClockValues& values);
int ReadRtc(DeviceConnection& connection, ClockValues& values);

}  // namespace q93
