#include "fleet/set_procedure.h"

#include "base/replace_file_group.h"
#include "protocol/parameter_files.h"
#include "protocol/parameter_ranges.h"
#include "store/location_store.h"

namespace q93 {
namespace {

// The named blocks, from the encoder into `blocks`.
bool readBlocks(EncoderSession& session, const SetChange& change, EncoderBlocks& blocks) {
    if (change.device && !session.readDevice(blocks.device))
        return false;
    for (int n : change.presets)
        if (!session.readPreset(n, blocks.presets[n - 1]))
            return false;
    return true;
}

bool changes(const std::vector<FieldChange>& changes, const std::string& file) {
    for (const FieldChange& change : changes)
        if (change.file == file)
            return true;
    return false;
}

// Writes the blocks that `changed` names and reads each back; false at the first failure or
// field not held, which the session names.
bool writeAndVerify(EncoderSession& session, const SetChange& change,
                    const std::vector<FieldChange>& changed, const EncoderBlocks& blocks) {
    if (change.device && changes(changed, "device.dat") &&
        !(session.writeDevice(blocks.device) && session.verifyDevice(blocks.device)))
        return false;
    for (int n : change.presets) {
        if (changes(changed, presetFileName(n)) &&
            !(session.writePreset(n, blocks.presets[n - 1]) &&
              session.verifyPreset(n, blocks.presets[n - 1])))
            return false;
    }
    return true;
}

// The changed blocks' files, replaced together as a backup replaces its nine.
bool storeChanged(const StoredEncoder& encoder, const SetChange& change,
                  const std::vector<FieldChange>& changed, const EncoderBlocks& blocks,
                  std::string* error) {
    std::vector<NewFile> files;
    const auto bytesOf = [](const auto& array) {
        return std::string(reinterpret_cast<const char*>(array.data()), array.size());
    };
    if (change.device && changes(changed, "device.dat"))
        files.push_back({encoder.folder + "device.dat", bytesOf(encodeDevice(blocks.device))});
    for (int n : change.presets) {
        PresetParameters preset = blocks.presets[n - 1];
        preset.presetNumber = n;
        if (changes(changed, presetFileName(n)))
            files.push_back({encoder.folder + presetFileName(n), bytesOf(encodePreset(preset))});
    }
    return replaceFileGroup(files, error);
}

// The new preset levels out of range at the sensitivity this encoder's device.dat holds; the
// values alone were judged at any sensitivity before anything was read.
std::vector<RangeViolation> outOfRangeHere(const SetChange& change, const EncoderBlocks& stored,
                                           const EncoderBlocks& after) {
    std::vector<RangeViolation> found;
    const std::optional<double> sensitivity = usableSensitivity(stored.device);
    if (change.device || !sensitivity)
        return found;
    for (int n : change.presets) {
        for (RangeViolation& violation : presetOutOfRange(after.presets[n - 1], sensitivity))
            for (const Assignment& assignment : change.assignments)
                if (violation.bounds == assignment.field)
                    found.push_back(std::move(violation));
    }
    return found;
}

std::string violationsText(const std::vector<RangeViolation>& violations) {
    std::string text;
    for (const RangeViolation& violation : violations) {
        text += (text.empty() ? "" : "; ") + violation.field + " " + violation.value +
                " is outside " + violation.range;
    }
    return text + " at this encoder's sensitivity; nothing was sent (--force sends it)";
}

SetOutcome ended(SetOutcome outcome, SetStatus status) {
    outcome.status = status;
    return outcome;
}

// After a write that failed or did not hold: the blocks as they were go back, and are read
// back in turn.
SetOutcome rollBack(EncoderSession& session, const SetChange& change, const EncoderBlocks& before,
                    SetOutcome outcome) {
    outcome.failure = session.failure();
    if (writeAndVerify(session, change, outcome.changes, before))
        return ended(std::move(outcome), SetStatus::RolledBack);
    outcome.failure.message += "; ROLL-BACK FAILED: " + session.failure().message;
    return ended(std::move(outcome), SetStatus::RollBackFailed);
}

}  // namespace

const char* setStatusWord(SetStatus status) {
    switch (status) {
        case SetStatus::Planned:
            return "planned";
        case SetStatus::Unchanged:
            return "unchanged";
        case SetStatus::Changed:
            return "changed";
        case SetStatus::Failed:
            return "failed";
        case SetStatus::RolledBack:
            return "rolled back";
        case SetStatus::RollBackFailed:
            return "roll-back failed";
        case SetStatus::NotAttempted:
            break;
    }
    return "not attempted";
}

bool setStatusHeld(SetStatus status) {
    return status == SetStatus::Planned || status == SetStatus::Unchanged ||
           status == SetStatus::Changed;
}

SetOutcome notAttempted() {
    SetOutcome outcome;
    outcome.failure = {"canary", "not attempted: the canary did not hold"};
    return outcome;
}

SetOutcome setEncoder(const SetChange& change, bool apply, bool force, EncoderSession& session,
                      StepReporter& reporter) {
    const StoredEncoder& encoder = session.encoder();
    SetOutcome outcome;
    const EncoderBlocks stored = readStoredBlocks(encoder.folder);
    EncoderBlocks before = stored;
    if (!session.loadConnection() || !readBlocks(session, change, before)) {
        outcome.failure = session.failure();
        return ended(std::move(outcome), SetStatus::Failed);
    }
    const EncoderBlocks after = applyChange(change, before, outcome.changes);
    for (const FieldChange& field : driftOf(change, stored, before))
        if (isStoredFile(encoder.folder + field.file))
            outcome.drift.push_back(field);
    if (outcome.changes.empty())
        return ended(std::move(outcome), SetStatus::Unchanged);
    const std::vector<RangeViolation> refused =
        force ? std::vector<RangeViolation>{} : outOfRangeHere(change, stored, after);
    if (!refused.empty()) {
        outcome.failure = {"range", violationsText(refused)};
        return ended(std::move(outcome), SetStatus::Failed);
    }
    if (!apply)
        return ended(std::move(outcome), SetStatus::Planned);
    if (!writeAndVerify(session, change, outcome.changes, after))
        return rollBack(session, change, before, std::move(outcome));
    reporter.step("writing the files");
    std::string error;
    if (!storeChanged(encoder, change, outcome.changes, after, &error)) {
        outcome.failure = {"writing the files", "the encoder holds the change: " + error};
        return ended(std::move(outcome), SetStatus::Failed);
    }
    return ended(std::move(outcome), SetStatus::Changed);
}

}  // namespace q93
