#pragma once

#include <string>
#include <vector>

namespace q93 {

// The field each row of a transfer's table moves, by row from 1 (entry 0 unused), so that
// a transfer that stopped can be reported as "step 10 of 28 (pilotLevel)".
enum class Transfer { ReadDevice, WriteDevice, ReadPreset, WritePreset, SetClock, ReadClock };
const std::vector<std::string>& transferRows(Transfer transfer);

// "read preset 3, step 10 of 28 (pilotLevel)" for the row at which a transfer stopped;
// "read preset 3, opening the link" before any was sent.
std::string stepText(const std::string& transfer, Transfer table, int rowsSent);

}  // namespace q93
