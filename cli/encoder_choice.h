#pragma once

#include <string>
#include <vector>

#include "cli/command_words.h"
#include "cli/progress_line.h"
#include "fleet/encoder_session.h"
#include "store/stored_blocks.h"

namespace q93::ctl {

// The words of a command on one stored encoder: "SITE/ENC [--device] [--presets LIST]"
// and the command's own flags. kExitSuccess, else kExitUsage or (for an encoder the store
// does not hold) kExitFailure with the message.
// `valued` names the command's own options that take a value.
int takeEncoderChoice(const Arguments& args, const std::vector<std::string>& flags,
                      CommandWords& words, StoredEncoder& encoder, BlockChoice& choice,
                      std::string* error, const std::vector<std::string>& valued = {});

// The steps of a job run in this process, on the progress line: "VERB SITE/ENC: step".
class LineReporter : public StepReporter {
public:
    LineReporter(std::string verb, std::string name)
        : prefix_(std::move(verb) + " " + std::move(name) + ": ") {}
    void step(const std::string& text) override { line_.show(prefix_ + text); }

private:
    std::string prefix_;
    ProgressLine line_;
};

}  // namespace q93::ctl
