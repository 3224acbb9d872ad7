// q93ctl set: one change of settings across encoders, planned first, tried on a few, read
// back field by field, and undone on an encoder that does not hold it.
#include <cstdio>

#include "cli/ctl_command.h"
#include "cli/ctl_session.h"
#include "cli/fleet_command.h"
#include "cli/json_output.h"
#include "cli/range_refusal.h"
#include "cli/version_record.h"
#include "fleet/set_procedure.h"
#include "protocol/parameter_files.h"
#include "store/location_store.h"

namespace q93::ctl {
namespace {

struct SetOptions {
    SetChange change;
    std::vector<std::string> names;
    bool apply = false;
    bool force = false;
    bool json = false;
    int jobs = 1;
    int canary = 0;
};

bool parseSetWords(const Arguments& args, SetOptions& options, std::string* error) {
    CommandWords words;
    if (!splitWords(args, {"--presets", "--jobs", "--canary"},
                    {"--device", "--apply", "--force", "--json"}, words, error))
        return false;
    SetChange& change = options.change;
    const std::string* presets = words.option("--presets");
    change.device = words.option("--device") != nullptr;
    if (change.device == (presets != nullptr))
        return *error = "give either --device or --presets LIST", false;
    if (presets != nullptr && !parsePresetList(*presets, change.presets))
        return *error = "--presets takes numbers 1..8 such as 1,3,5-8", false;
    const std::string* jobs = words.option("--jobs");
    if (jobs != nullptr && !parseNumber(*jobs, 1, kMaxFleetJobs, options.jobs))
        return *error = "--jobs takes 1.." + std::to_string(kMaxFleetJobs), false;
    const std::string* canary = words.option("--canary");
    if (canary != nullptr && !parseNumber(*canary, 1, 100000, options.canary))
        return *error = "--canary takes a number of encoders, 1 or more", false;
    options.apply = words.option("--apply") != nullptr;
    options.force = words.option("--force") != nullptr;
    options.json = words.option("--json") != nullptr;
    std::vector<std::string> assignments;
    for (const std::string& word : words.positional)
        (word.find('=') != std::string::npos ? assignments : options.names).push_back(word);
    return parseAssignments(assignments, change.device, change.assignments, error);
}

Json fieldsJson(const std::vector<FieldChange>& fields) {
    Json list = Json::array();
    for (const FieldChange& field : fields) {
        list.push_back({{"file", field.file},
                        {"field", field.field},
                        {"from", field.from},
                        {"to", field.to},
                        {"unit", field.unit}});
    }
    return list;
}

JobOutcome setJob(const SetOptions& options, const StoredEncoder& encoder, StepReporter& reporter) {
    CtlSession session(encoder, reporter);
    const SetOutcome set =
        setEncoder(options.change, options.apply, options.force, session, reporter);
    if (set.status == SetStatus::RollBackFailed)
        failure(encoder.name() + ": " + set.failure.message);
    JobOutcome outcome;
    outcome.ok = setStatusHeld(set.status);
    outcome.failure = set.failure;
    outcome.values["status"] = setStatusWord(set.status);
    outcome.values["changes"] = fieldsJson(set.changes);
    outcome.values["drift"] = fieldsJson(set.drift);
    return outcome;
}

// The plain lines of one encoder: each change, each field found changed behind the tool's
// back, then how it ended.
void printPlain(const std::string& name, const JobOutcome& outcome) {
    for (const Json& field : outcome.values.value("changes", Json::array())) {
        const FieldChange change{field["file"], field["field"], field["from"], field["to"],
                                 field["unit"]};
        std::printf("%s %s\n", plainValue(name).c_str(), change.text().c_str());
    }
    for (const Json& field : outcome.values.value("drift", Json::array())) {
        std::printf("%s drift %s %s stored=%s encoder=%s\n", plainValue(name).c_str(),
                    std::string(field["file"]).c_str(), std::string(field["field"]).c_str(),
                    std::string(field["from"]).c_str(), std::string(field["to"]).c_str());
    }
    std::string line = plainValue(name) + " " + outcome.values.value("status", "failed");
    if (!outcome.ok && !outcome.failure.step.empty()) {
        line += " " + plainPair("step", outcome.failure.step) + " " +
                plainPair("message", outcome.failure.message);
    }
    std::printf("%s\n", line.c_str());
}

Json encoderJson(const std::string& name, const JobOutcome& outcome) {
    Json entry = {{"name", name}, {"status", outcome.values.value("status", "not attempted")}};
    entry["changes"] = outcome.values.value("changes", Json::array());
    entry["drift"] = outcome.values.value("drift", Json::array());
    if (!outcome.ok)
        entry["error"] = outcome.failure.step + ": " + outcome.failure.message;
    return entry;
}

}  // namespace

int runSetCommand(const Arguments& args) {
    SetOptions options;
    std::string error;
    const bool json = asksForJson(args);
    if (!parseSetWords(args, options, &error))
        return failedCommand("set", json, kExitUsage, error);
    if (!maySend("the new values", assignmentsOutOfRange(options.change.assignments),
                 options.force))
        return failedCommand("set", json, kExitFailure, "values out of range; nothing was sent");
    std::vector<StoredEncoder> encoders;
    if (!selectEncoders(options.names, encoders, &error))
        return failedCommand("set", json, kExitFailure, error);
    if (encoders.empty())
        return failedCommand("set", json, kExitFailure,
                             std::string("no encoder under ") + kLocationRoot);

    std::vector<JobOutcome> outcomes(encoders.size());
    const JobBody body = [&options](const StoredEncoder& encoder, StepReporter& reporter) {
        return setJob(options, encoder, reporter);
    };
    // The canary goes first, one encoder after another; the rest only when all of it held.
    const std::size_t canary =
        options.apply ? std::min<std::size_t>(options.canary, encoders.size()) : 0;
    const std::vector<StoredEncoder> first(encoders.begin(), encoders.begin() + canary);
    const std::vector<StoredEncoder> rest(encoders.begin() + canary, encoders.end());
    bool canaryHeld = true;
    runFleet(first, 1, "set", body, [&](std::size_t i, const JobOutcome& outcome) {
        outcomes[i] = outcome;
        canaryHeld = canaryHeld && outcome.ok;
    });
    if (canaryHeld) {
        runFleet(rest, options.jobs, "set", body,
                 [&](std::size_t i, const JobOutcome& outcome) { outcomes[canary + i] = outcome; });
    } else {
        for (std::size_t i = canary; i < encoders.size(); ++i) {
            outcomes[i].failure = notAttempted().failure;
            outcomes[i].values["status"] = setStatusWord(SetStatus::NotAttempted);
        }
    }
    int failed = 0;
    Json results = Json::array();
    for (std::size_t i = 0; i < encoders.size(); ++i) {
        failed += outcomes[i].ok ? 0 : 1;
        if (json)
            results.push_back(encoderJson(encoders[i].name(), outcomes[i]));
        else
            printPlain(encoders[i].name(), outcomes[i]);
    }
    if (json) {
        printJson({{"command", "set"},
                   {"apply", options.apply},
                   {"encoders", results},
                   {"failed", failed}});
    }
    // One version of the history records the whole change.
    std::vector<StoredEncoder> changed;
    for (std::size_t i = 0; i < encoders.size(); ++i)
        if (outcomes[i].values.value("status", "") == "changed")
            changed.push_back(encoders[i]);
    const bool recorded = recordStoredVersion(changed, &error);
    if (!recorded)
        failure(error);
    return failed == 0 && recorded ? kExitSuccess : kExitFailure;
}

}  // namespace q93::ctl
