#include "cli/fleet_command.h"

#include <cstdio>

#include "cli/json_output.h"
#include "store/location_store.h"

namespace q93::ctl {
int runFleetCommand(const Arguments& args, const FleetCommand& command) {
    CommandWords words;
    std::string error;
    std::vector<std::string> flags = command.flags;
    flags.push_back("--json");
    const bool json = asksForJson(args);
    if (!splitWords(args, {"--jobs"}, flags, words, &error))
        return failedCommand(command.verb, json, kExitUsage, error);
    if (command.check && !command.check(words, &error))
        return failedCommand(command.verb, json, kExitUsage, error);
    int jobs = 1;
    const std::string* given = words.option("--jobs");
    if (given != nullptr && !parseNumber(*given, 1, kMaxFleetJobs, jobs)) {
        return failedCommand(command.verb, json, kExitUsage,
                             "--jobs takes 1.." + std::to_string(kMaxFleetJobs));
    }

    std::vector<StoredEncoder> encoders;
    if (!selectEncoders(words.positional, encoders, &error))
        return failedCommand(command.verb, json, kExitFailure, error);
    if (encoders.empty()) {
        return failedCommand(command.verb, json, kExitFailure,
                             std::string("no encoder under ") + kLocationRoot);
    }

    int failed = 0;
    Json results = Json::array();
    std::vector<StoredEncoder> succeeded;
    runFleet(encoders, jobs, command.verb, command.body,
             [&](std::size_t index, const JobOutcome& outcome) {
                 failed += outcome.ok ? 0 : 1;
                 if (outcome.ok)
                     succeeded.push_back(encoders[index]);
                 const std::string name = encoders[index].name();
                 if (json) {
                     results.push_back(outcomeJson(name, outcome));
                 } else {
                     std::printf("%s\n", outcomeLine(name, outcome).c_str());
                 }
             });
    if (json)
        printJson({{"command", command.verb}, {"encoders", results}, {"failed", failed}});
    const bool finished = !command.afterAll || command.afterAll(succeeded, &error);
    if (!finished)
        failure(error);
    return failed == 0 && finished ? kExitSuccess : kExitFailure;
}

}  // namespace q93::ctl
