#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/encoder_names.h"
#include "fleet/encoder_session.h"

namespace q93::ctl {

// Keys stay in the order they were set, so that every document reads name first.
using Json = nlohmann::ordered_json;

// What one encoder's job ended with: success, or the failure; `values` holds what the job
// has to tell besides (the clock's difference), as a JSON object.
struct JobOutcome {
    bool ok = false;
    JobFailure failure;
    Json values = Json::object();
};

// One encoder's job. It runs on a thread of its own, with parameter sets, connections, user
// seam and frame numbering of its own; what it shares with the other jobs (files, locks) it
// uses as separate processes would.
using JobBody = std::function<JobOutcome(const StoredEncoder&, StepReporter&)>;

// Runs `body` for every encoder, up to `jobs` at once, each on a worker thread started for
// it. Encoders whose tcp.txt names the same serial port never run at the same time, as one
// port takes one connection. `finished` is called in the order of
// `encoders`, each as soon as its outcome and those of all before it are in. While stderr is
// a terminal it carries a progress line: "<verb> k of n SITE/ENC: <step>".
// Once `stopFd` (when given) becomes readable, the running jobs are told to stop (their
// reporter's stopping()) and waited for, none is started any more, and the outcomes reported
// so far are returned. SIGINT, SIGTERM and SIGHUP, unless handled, end the process as they
// always would, but only once no job is still replacing files (see EndSignalsTaken).
std::vector<JobOutcome> runFleet(
    const std::vector<StoredEncoder>& encoders, int jobs, const std::string& verb,
    const JobBody& body, const std::function<void(std::size_t, const JobOutcome&)>& finished,
    int stopFd = -1);

}  // namespace q93::ctl
