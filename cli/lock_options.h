#pragma once

#include <chrono>
#include <string>

#include "cli/ctl_command.h"
#include "store/encoder_lock.h"

namespace q93::ctl {

// How long a command waits for an encoder that another process is using before it fails:
// "--lock-wait SECONDS" among the options before the command, else a minute, which covers
// a backup over a slow serial line.
inline constexpr std::chrono::milliseconds kDefaultLockWait{60'000};

// Takes "--lock-wait SECONDS" (0 to 3600, a decimal fraction allowed) off the leading
// options of `words`. false with a usage message in *error.
bool takeLockWait(Arguments& words, std::string* error);

// The wait in effect for this run of q93ctl.
std::chrono::milliseconds lockWait();

// What a lock failure adds on how to go on.
std::string lockWaitHint();

// Takes the lock of `encoderFolder` with that wait; false with the message, which names the
// other process and says how to go on.
bool lockEncoder(const std::string& encoderFolder, EncoderLock& lock, std::string* error);

// The single-encoder transfers given --encoder hold that encoder's lock for the whole
// command, as the fleet commands hold it in each job; true without a lock for any other.
bool lockGivenEncoder(const std::string& command, EncoderLock& lock, std::string* error);

}  // namespace q93::ctl
