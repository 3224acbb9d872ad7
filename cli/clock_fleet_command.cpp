#include <ctime>

#include "cli/ctl_command.h"
#include "cli/ctl_session.h"
#include "cli/fleet_command.h"
#include "cli/pc_clock.h"

namespace q93::ctl {
namespace {

// Sets the clock, then reads it back: the difference shows a clock that did not take the
// time, or one that runs from another zone.
JobOutcome setClockFromPc(const StoredEncoder& encoder, StepReporter& reporter) {
    CtlSession session(encoder, reporter);
    JobOutcome outcome;
    ClockValues back;
    if (!session.loadConnection() || !session.setClock(pcClock()) || !session.readClock(back)) {
        outcome.failure = session.failure();
        return outcome;
    }
    const std::time_t now = std::time(nullptr);
    outcome.values["difference"] = static_cast<long long>(clockSeconds(back) - now);
    outcome.ok = true;
    return outcome;
}

bool needsPc(const CommandWords& words, std::string* error) {
    if (words.option("--pc") == nullptr)
        return *error = "clock takes --pc: the encoders are set from this PC's clock", false;
    return true;
}

}  // namespace

int runClockCommand(const Arguments& args) {
    return runFleetCommand(args, {"clock", {"--pc"}, needsPc, setClockFromPc});
}

}  // namespace q93::ctl
