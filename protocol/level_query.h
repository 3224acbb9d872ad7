#pragma once

#include "protocol/device_connection.h"

namespace q93 {

// One level query on an open connection: selector 0 fills levelSet0 (two readings),
// selector 1 levelSet1 (six). 0, or -1 when the request or its answer failed; without an
// answer the previous readings stay as they were. The connection stays open unless the
// request itself failed.
int QueryLevels(DeviceConnection& connection, int selector);

}  // namespace q93
