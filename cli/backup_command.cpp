#include <algorithm>
#include <cstdio>

#include "cli/ctl_command.h"
#include "cli/ctl_session.h"
#include "cli/fleet_command.h"
#include "cli/history_push.h"
#include "cli/lock_options.h"
#include "cli/range_refusal.h"
#include "cli/version_record.h"
#include "history/settings_history.h"
#include "store/location_store.h"
#include "store/stored_blocks.h"

namespace q93::ctl {
namespace {

// Reads all nine blocks before writing any file: a failed encoder keeps its files, and a
// good one gets all nine replaced together.
JobOutcome backupEncoder(const StoredEncoder& encoder, StepReporter& reporter) {
    CtlSession session(encoder, reporter);
    EncoderBlocks blocks = readStoredBlocks(encoder.folder);
    JobOutcome outcome;
    if (!session.loadConnection() || !session.readDevice(blocks.device)) {
        outcome.failure = session.failure();
        return outcome;
    }
    for (int n = 1; n <= kPresetsPerEncoder; ++n) {
        if (!session.readPreset(n, blocks.presets[n - 1])) {
            outcome.failure = session.failure();
            return outcome;
        }
    }
    reporter.step("writing the files");
    std::string error;
    if (!ReplaceEncoderFiles(encoder.folder, blocks.device, blocks.presets, &error)) {
        outcome.failure = {"writing the files", error};
        return outcome;
    }
    outcome.ok = true;
    // What the encoder holds is kept as it is, but a restore would refuse it: say so now.
    const auto fields = choiceOutOfRange(blocks, BlockChoice{}, usableSensitivity(blocks.device));
    if (!fields.empty())
        outcome.values["outOfRange"] = fieldWords(fields);
    return outcome;
}

// With --push the history's branch goes to its remote once the version is recorded. No
// history or no remote is a note, so that one scheduled command serves with and without
// one; a push that does not happen is a failure, the files and the version kept.
bool recordAndPush(bool push, const std::vector<StoredEncoder>& encoders, std::string* error) {
    if (!recordStoredVersion(encoders, error))
        return false;
    if (!push)
        return true;
    if (!hasHistory()) {
        std::fprintf(stderr,
                     "q93ctl: not pushed: no settings history here (q93ctl history "
                     "init makes one)\n");
        return true;
    }
    const PushOutcome outcome = pushVersions();
    switch (outcome.result) {
        case PushResult::Pushed:
            std::fprintf(stderr, "q93ctl: %s\n", pushedText(outcome).c_str());
            return true;
        case PushResult::NoRemote:
            std::fprintf(stderr,
                         "q93ctl: not pushed: the settings history has no remote "
                         "(q93ctl history remote URL sets one)\n");
            return true;
        case PushResult::Refused:
        case PushResult::Failed:
            break;
    }
    *error = "the files are stored and the history keeps its versions, but the push failed: " +
             pushFailureText(outcome);
    return false;
}

}  // namespace

int runBackupCommand(const Arguments& args) {
    const bool push = std::find(args.begin(), args.end(), "--push") != args.end();
    return runFleetCommand(args,
                           {"backup",
                            {"--push"},
                            nullptr,
                            backupEncoder,
                            [push](const std::vector<StoredEncoder>& encoders, std::string* error) {
                                return recordAndPush(push, encoders, error);
                            }});
}

}  // namespace q93::ctl
