#include <cstdio>

#include "cli/ctl_command.h"
#include "cli/fleet_command.h"
#include "cli/lock_options.h"
#include "cli/range_refusal.h"
#include "cli/stored_blocks.h"
#include "history/settings_history.h"
#include "store/location_store.h"

namespace q93::ctl {
namespace {

// Reads all nine blocks before writing any file: a failed encoder keeps its files, and a
// good one gets all nine replaced together.
JobOutcome backupEncoder(const StoredEncoder& encoder, StepReporter& reporter) {
    EncoderSession session(encoder, reporter);
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

// With a settings history, the files of the run become one version; without one nothing
// is looked at beyond the one folder that tells. A repository history init did not make is
// left alone: the backup stands, and stderr says why no version was recorded.
bool recordVersion(const std::vector<StoredEncoder>& encoders, std::string* error) {
    if (encoders.empty() || !hasHistory())
        return true;
    EncoderLock lock;
    if (!lockEncoder(historyFolder(), lock, error))
        return false;
    std::vector<EncoderName> names;
    for (const StoredEncoder& encoder : encoders)
        names.push_back({encoder.site, encoder.encoder});
    std::string recorded, note;
    const RecordResult result = recordBackup(kLocationRoot, names, &recorded, &note, error);
    if (!note.empty())
        std::fprintf(stderr, "q93ctl: %s\n", note.c_str());
    switch (result) {
        case RecordResult::Done:
            return true;
        case RecordResult::NotOurs:
            std::fprintf(stderr, "q93ctl: no version recorded: %s\n", error->c_str());
            return true;
        case RecordResult::Failed:
            break;
    }
    *error = "the files are stored, but the history did not record them: " + *error;
    return false;
}

}  // namespace

int runBackupCommand(const Arguments& args) {
    return runFleetCommand(args, {"backup", {}, nullptr, backupEncoder, recordVersion});
}

}  // namespace q93::ctl
