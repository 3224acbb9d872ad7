#pragma once

#include <chrono>
#include <string>

#include "cli/ctl_command.h"

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

}  // namespace q93::ctl
