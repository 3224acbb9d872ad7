#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "store/block_compare.h"
#include "store/encoder_compare.h"

namespace q93::watch {

// What one settings read of an encoder came to, against its stored files.
struct SettingsDrift {
    CompareResult result = CompareResult::NothingStored;
    std::string link;     // "tcp" or "serial", as tcp.txt says; empty when unread
    std::string failure;  // what stopped the read, with the encoder's message
    // The stored files compared, in the order of the store: device.dat, then each
    // Preset-N.dat that is stored whole.
    std::vector<std::string> files;
    std::vector<FieldDifference> differences;
};

// Reads the device settings and the presets an encoder folder stores, as a backup reads them
// (each block starting from the stored one, so that what the encoder never sends compares
// equal), and compares every transferred field with the stored files as diff does. Nothing is
// written to the encoder or its folder. Each block read is one exchange under the encoder's
// lock, taken and given back as a poll does, so that a transfer of another program waits for
// one block read at most. Without a whole stored device.dat nothing is read (NothingStored).
// Once `stopping` (when given) says so, the read gives up before its next exchange.
SettingsDrift readSettingsDrift(const std::string& encoderFolder,
                                std::chrono::milliseconds lockWait,
                                const std::function<bool()>& stopping = {});

// How many fields differ in each compared file, in the order of `drift.files`.
std::vector<std::pair<std::string, int>> differingFieldCounts(const SettingsDrift& drift);

// The differing fields as "FILE:FIELD" words, as q93ctl names a field of a stored file,
// joined by blanks: "Preset-3.dat:pilotLevel device.dat:rdsOn".
std::string differingFieldNames(const std::vector<FieldDifference>& differences);

// When the encoder's stored files were last written, in seconds since the epoch: the newest
// modification time of its device.dat and Preset-N.dat. A backup replaces all nine whole each
// time, even when nothing changed, so this is the time of its last backup (or of a later
// change made through the tool). nullopt when none is stored.
std::optional<double> storedFilesWrittenAt(const std::string& encoderFolder);

}  // namespace q93::watch
