#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "watch/encoder_health.h"

namespace q93::watch {

// Polls one stored encoder in this process: its clock, the four status values and both
// level queries, in that order, stopping at the first that fails, so that a silent encoder
// costs one time-out. Each exchange holds the encoder's lock on its own, waiting up to
// `lockWait` for it and giving it back before the next, so that a transfer of another
// program waits for one exchange at most. Nothing is written to the encoder or its folder.
// Once `stopping` (when given) says so, the poll gives up before its next exchange and while
// it waits for the lock. Keeps what it reads to itself, so polls may run on several threads.
EncoderHealth pollEncoder(const std::string& encoderFolder, std::chrono::milliseconds lockWait,
                          const std::function<bool()>& stopping = {});

}  // namespace q93::watch
