#pragma once

#include <string>

#include "history/history_remote.h"

namespace q93::ctl {

// How long a push may take. libgit2 bounds no network wait of its own; a settings history
// is a few kilobytes, so a push still running after this has hung.
inline constexpr int kPushWaitSeconds = 120;

// Pushes the settings history in ./LocationData to its remote. A push still running after
// kPushWaitSeconds ends q93ctl with exit status 1 and says so on stderr; what was recorded
// stays, for the next push.
PushOutcome pushVersions();

// Why a push did not happen, for stderr: the cause, what to do, and that the versions stay.
std::string pushFailureText(const PushOutcome& outcome);

// "pushed main at 1a2b3c4 to URL"
std::string pushedText(const PushOutcome& outcome);

}  // namespace q93::ctl
