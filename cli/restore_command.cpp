#include <cstdio>

#include "cli/ctl_command.h"
#include "cli/ctl_session.h"
#include "cli/encoder_choice.h"
#include "cli/json_output.h"
#include "cli/range_refusal.h"
#include "cli/version_blocks.h"

namespace q93::ctl {

int runRestoreCommand(const Arguments& args) {
    CommandWords words;
    StoredEncoder encoder;
    BlockChoice choice;
    std::string error;
    const int status =
        takeEncoderChoice(args, {"--force"}, words, encoder, choice, &error, {"--from"});
    if (status != kExitSuccess)
        return status == kExitUsage ? usageError(error) : failure(error);
    // Every file is checked before the first is sent, so that a missing one or a value out of
    // range cannot leave the encoder half restored. A version of the history is sent as the
    // stored files would be, and the folder is not touched.
    EncoderBlocks blocks;
    std::optional<double> sensitivity = sensitivityBeside(deviceFilePath(encoder.folder));
    const std::string* from = words.option("--from");
    std::string shortId;
    if (from != nullptr) {
        if (!readVersionChoice(*from, encoder, choice, blocks, &shortId, &error))
            return failure(error);
        sensitivity = usableSensitivity(blocks.device);
    } else if (!readStoredChoice(encoder.folder, choice, blocks, &error)) {
        return failure(error);
    }
    const auto fields = choiceOutOfRange(blocks, choice, sensitivity);
    if (!maySend(plainValue(encoder.name()), fields, words.option("--force") != nullptr)) {
        return kExitFailure;
    }

    JobOutcome outcome;
    {
        LineReporter reporter("restore", encoder.name());
        CtlSession session(encoder, reporter);
        // Each block is read back once written: a restore is the way back after a change
        // went wrong, so it must prove that the encoder holds what it was sent.
        outcome.ok = session.loadConnection() &&
                     (!choice.device ||
                      (session.writeDevice(blocks.device) && session.verifyDevice(blocks.device)));
        for (std::size_t i = 0; outcome.ok && i < choice.presets.size(); ++i) {
            const int n = choice.presets[i];
            outcome.ok = session.writePreset(n, blocks.presets[n - 1]) &&
                         session.verifyPreset(n, blocks.presets[n - 1]);
        }
        outcome.failure = session.failure();
    }
    std::printf("%s\n", outcomeLine(encoder.name(), outcome).c_str());
    return outcome.ok ? kExitSuccess : kExitFailure;
}

}  // namespace q93::ctl
