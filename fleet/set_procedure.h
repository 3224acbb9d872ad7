#pragma once

#include <string>
#include <vector>

#include "fleet/encoder_session.h"
#include "fleet/set_change.h"

namespace q93 {

// How one encoder's part of a settings change ended.
enum class SetStatus {
    Planned,
    Unchanged,
    Changed,
    Failed,
    RolledBack,
    RollBackFailed,
    NotAttempted
};

// "changed", "rolled back", ...: the words q93ctl prints and its JSON carries.
const char* setStatusWord(SetStatus status);
// Whether the encoder holds what the change asked of it (or would, for a plan), so that the
// encoders after a canary may go.
bool setStatusHeld(SetStatus status);

struct SetOutcome {
    SetStatus status = SetStatus::NotAttempted;
    std::vector<FieldChange> changes;  // what the change sets, from the encoder's live values
    std::vector<FieldChange> drift;    // live values that differ from the stored files
    JobFailure failure;                // for any status that does not hold
};

// One encoder's part of `change`, under the session's lock: the named blocks are read (the
// "before"), and without `apply` that is the plan. With it, the changed blocks are written and
// read back field by field; when every field holds, their files are replaced together as a
// backup replaces them, and when a write fails or a field is not held the "before" goes back
// and is read back in turn, the stored files untouched. A new level is judged at the
// encoder's own stored sensitivity unless `force`.
SetOutcome setEncoder(const SetChange& change, bool apply, bool force, EncoderSession& session,
                      StepReporter& reporter);

// The outcome of the encoders left alone after a canary that did not hold.
SetOutcome notAttempted();

}  // namespace q93
