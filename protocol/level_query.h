#pragma once

#include "protocol/device_connection.h"
#include "protocol/parameter_set.h"

namespace q93 {

// One level query on an open connection: selector 0 fills levels.levelSet0 (two readings),
// selector 1 levels.levelSet1 (six). 0, or -1 when the request or its answer failed; without an
// answer the previous readings stay as they were. The connection stays open unless the
// request itself failed.
//
// An answer that arrives after the take has given up would otherwise be taken for the next
// request's acknowledgement, and every later query would read one frame behind and fail.
// So whatever is still queued is dropped before the request, and an acknowledgement found
// where the answer should be (a late answer came in just after the drop) is passed over
// once: one late answer costs one reading.
int QueryLevels(DeviceConnection& connection, int selector, LevelReadings& levels);

}  // namespace q93
