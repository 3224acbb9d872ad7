#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "base/stop_signal.h"
#include "watch/health_board.h"

namespace q93::ctl {

// Reads the settings of the encoders that `words` name (read from the tree again each round)
// every `interval`, up to `jobs` at a time, and shows on `board` how far each differs from
// its stored files; until `stop`. Each change of an encoder's differing fields is one line on
// stderr. A round that takes longer than the interval is followed by the next at once.
void runDriftRounds(const std::vector<std::string>& words, std::chrono::seconds interval, int jobs,
                    watch::HealthBoard& board, const StopSignal& stop);

}  // namespace q93::ctl
