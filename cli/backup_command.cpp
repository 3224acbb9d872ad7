#include <cstdio>

#include "cli/ctl_command.h"
#include "cli/ctl_session.h"
#include "cli/fleet_command.h"
#include "cli/lock_options.h"
#include "cli/range_refusal.h"
#include "cli/version_record.h"
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

}  // namespace

int runBackupCommand(const Arguments& args) {
    return runFleetCommand(args, {"backup", {}, nullptr, backupEncoder, recordStoredVersion});
}

}  // namespace q93::ctl
