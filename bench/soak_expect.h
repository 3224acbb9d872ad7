#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bench/soak_plan.h"

namespace q93::soak {

// What the tool must do with one request whose reply a fault has changed.
enum class Effect {
    Success,          // the reply still serves
    RequestTimeout,   // no acknowledgement: the request itself fails
    AnswerTimeout,    // the data answer does not come
    AnswerWrongCode,  // the data answer's first byte is not the expected code
    AnswerCut,        // the serial line cut the data answer at 765 bytes, without its end byte
    AckCut,           // the same for an acknowledgement
};
const char* effectName(Effect effect);

// The requests of the transfers, as far as the faults care: a command is only acknowledged,
// a query also answered. A parameter answer's first byte is checked against its code; the
// clock answer's is not; the level query passes over an answer that is not its own.
enum class Answer { None, Parameter, Clock, Level };
struct Step {
    Answer answer = Answer::None;
    std::uint8_t code = 0;
};
Step stepOf(Kind kind, int step);

Effect faultEffect(LinkMode mode, const Step& step, const Fault& fault);

// One acceptable outcome of a transfer. failStep is 0 when it succeeds; otherwise the step
// that failed, which is also the number of requests sent. valueFailed: the failing read
// stored its failure value (-1) in its field, as a failed data answer does.
struct Outcome {
    int result = 0;
    std::string message;
    int failStep = 0;
    bool valueFailed = false;
};

// The outcomes the tool may give for a transfer with this fault, the first of them the one
// the request count of the plan assumes. cut: the fault cuts a serial frame.
struct Expected {
    std::vector<Outcome> accepted;
    bool cut = false;
};
Expected expectedOutcome(LinkMode mode, Kind kind, const Fault& fault);

// The protocol's wrong-answer message as the user sees it.
std::string wrongAnswerText(int received, int expected);
bool matches(const Outcome& outcome, int result, const std::vector<std::string>& messages);

}  // namespace q93::soak
