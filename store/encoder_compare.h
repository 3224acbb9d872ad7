#pragma once

#include <string>
#include <vector>

#include "protocol/connection_settings.h"
#include "store/block_compare.h"

namespace q93 {

// What comparing a node's stored files with its encoder came to.
enum class CompareResult {
    Compared,
    NothingStored,  // the node's file (for an encoder: device.dat) is missing or not whole
    ReadFailed,     // a read failed; the transfer has told the user why
};

// Reads from the encoder what the stored files of an encoder folder hold and lists each
// field that differs, stored against encoder, as the pages show them (at the unit of the
// stored device.dat, else the encoder's). `preset` 1..8 compares that preset alone; 0 the
// device settings and every preset that has a whole stored file. Each read opens its own
// connection with `settings`, shows the progress popup and reports a failure as every
// transfer does; nothing is written or sent, and the parameter set is left as it was.
CompareResult CompareStoredWithEncoder(const std::string& encoderFolder, int preset,
                                       const ConnectionSettings& settings,
                                       std::vector<FieldDifference>& differences);

}  // namespace q93
