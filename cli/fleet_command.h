#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/command_words.h"
#include "cli/fleet_worker.h"

namespace q93::ctl {

// Beyond this many worker threads the machine only switches between them.
inline constexpr int kMaxFleetJobs = 64;

// A command over many encoders: "VERB [SITE[/ENC]]... [--jobs N] [--json]" and flags of
// its own, which `check` may insist on.
struct FleetCommand {
    std::string verb;
    std::vector<std::string> flags;
    std::function<bool(const CommandWords&, std::string*)> check;
    JobBody body;
    // Runs once the jobs are done, with the encoders whose job succeeded, in tree order; a
    // failure is told on stderr and makes the exit status 1.
    std::function<bool(const std::vector<StoredEncoder>&, std::string*)> afterAll = nullptr;
};

// Selects the encoders, runs the body for each and prints one line per encoder as each
// comes in tree order, or the JSON document at the end. 0 when every encoder succeeded, 1
// when any failed or none is found, 2 for a usage mistake.
int runFleetCommand(const Arguments& args, const FleetCommand& command);

}  // namespace q93::ctl
