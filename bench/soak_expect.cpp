#include "bench/soak_expect.h"

#include <cstdio>

namespace q93::soak {
namespace {

// What each link takes: the serial line hunts at most 764 bytes for a start byte and cuts
// a frame at 765 bytes; a TCP take returns frames of at most 511 bytes.
constexpr int kSerialHuntLimit = 764;
constexpr int kSerialFrameLimit = 765;
constexpr int kTcpFrameLimit = 511;

constexpr const char* kNoAnswer = "Keine Antwort vom Gerät ( Timeout )!";
constexpr const char* kWrongAnswerHead = "Falsche Antwort vom Gerät ( ";

// The first payload byte q93sim's wrong-code fault puts in place of each code.
std::uint8_t wrongCodeFor(std::uint8_t code) {
    switch (code) {
        case 0x2D:
            return 0x3C;
        case 0x3B:
            return 0x3C;
        case 0x3C:
            return 0x3B;
        case 0x0D:
            return 0x2D;
        default:
            return code ^ 0x01;
    }
}

// The device read: four parameters, the response and baud registers of the four ports,
// then four memory bytes.
std::uint8_t deviceReadCode(int step) {
    if (step >= 5 && step <= 8)
        return 0x3B;
    if (step >= 9 && step <= 12)
        return 0x3C;
    return 0x2D;
}

Outcome failed(int step, const std::string& message, bool valueFailed) {
    return {-1, message, step, valueFailed};
}

}  // namespace

const char* effectName(Effect effect) {
    switch (effect) {
        case Effect::Success:
            return "success";
        case Effect::RequestTimeout:
            return "request time-out";
        case Effect::AnswerTimeout:
            return "answer time-out";
        case Effect::AnswerWrongCode:
            return "wrong code";
        case Effect::AnswerCut:
            return "answer cut";
        case Effect::AckCut:
            return "acknowledgement cut";
    }
    return "?";
}

Step stepOf(Kind kind, int step) {
    switch (kind) {
        case Kind::ReadPreset:
            return {Answer::Parameter, 0x2D};
        case Kind::ReadDevice:
            return {Answer::Parameter, deviceReadCode(step)};
        case Kind::ReadClock:
            return {Answer::Clock, 0x0D};
        case Kind::Levels:
            return {Answer::Level, 0x2D};
        default:
            return {Answer::None, 0};
    }
}

Effect faultEffect(LinkMode mode, const Step& step, const Fault& fault) {
    const bool acks = mode != LinkMode::PtyNoAck;
    const bool serial = mode != LinkMode::Tcp;
    const bool answered = step.answer != Answer::None;
    // A reply that loses its last frame: the answer when there is one, else the
    // acknowledgement, which only a line with acknowledgements waits for.
    const Effect lastFrameLost =
        answered ? Effect::AnswerTimeout : (acks ? Effect::RequestTimeout : Effect::Success);
    switch (fault.kind) {
        case FaultKind::None:
        case FaultKind::BadCrc:  // neither an acknowledgement's nor an answer's checksum counts
            return Effect::Success;
        case FaultKind::DropAnswer:
        case FaultKind::NoEnd:
            return lastFrameLost;
        case FaultKind::DropAck:
            // The answer is taken for the acknowledgement, and then the answer is missing.
            if (!acks)
                return Effect::Success;
            return answered ? Effect::AnswerTimeout : Effect::RequestTimeout;
        case FaultKind::WrongCode:
            return answered ? Effect::AnswerWrongCode : Effect::Success;
        case FaultKind::Garbage:
            if (!serial || fault.amount <= kSerialHuntLimit)
                return Effect::Success;
            // The hunt for the start byte gives up in front of the first frame sent.
            return acks ? Effect::RequestTimeout
                        : (answered ? Effect::AnswerTimeout : Effect::Success);
        case FaultKind::Oversize:
            if (!serial) {
                if (fault.amount <= kTcpFrameLimit)
                    return Effect::Success;
                return answered ? Effect::AnswerTimeout : Effect::RequestTimeout;
            }
            if (fault.amount <= kSerialFrameLimit)
                return Effect::Success;
            return answered ? Effect::AnswerCut : (acks ? Effect::AckCut : Effect::Success);
        case FaultKind::Close:
            if (acks)
                return Effect::RequestTimeout;
            return answered ? Effect::AnswerTimeout : Effect::Success;
    }
    return Effect::Success;
}

Expected expectedOutcome(LinkMode mode, Kind kind, const Fault& fault) {
    const Step step = stepOf(kind, fault.step);
    const int s = fault.step;
    const bool level = step.answer == Answer::Level;
    Expected out;
    switch (faultEffect(mode, step, fault)) {
        case Effect::Success:
            out.accepted = {Outcome{}};
            break;
        case Effect::RequestTimeout:
            out.accepted = {failed(s, kNoAnswer, false)};
            break;
        case Effect::AnswerTimeout:
            // The level query reports nothing of a missing answer and keeps its readings.
            out.accepted = {failed(s, level ? "" : kNoAnswer, true)};
            break;
        case Effect::AnswerWrongCode:
            if (step.answer == Answer::Clock) {
                out.accepted = {Outcome{}};  // the clock answer's first byte is not examined
            } else if (level) {
                out.accepted = {failed(s, "", true)};
            } else {
                out.accepted = {
                    failed(s, wrongAnswerText(wrongCodeFor(step.code), step.code), true)};
            }
            break;
        case Effect::AnswerCut:
            out.cut = true;
            // Whatever byte stands at the code's offset of a frame that was never un-stuffed,
            // a cut answer is no answer.
            out.accepted = {failed(s, level ? "" : kNoAnswer, true)};
            break;
        case Effect::AckCut:
            // An acknowledgement counts by its arrival, cut or not; should a cut frame come to
            // count as missing there as well, the request fails with the time-out.
            out.cut = true;
            out.accepted = {Outcome{}, failed(s, kNoAnswer, false)};
            break;
    }
    return out;
}

std::string wrongAnswerText(int received, int expected) {
    char text[96];
    std::snprintf(text, sizeof text, "%s%02x anstatt %02x ).", kWrongAnswerHead, received,
                  expected);
    return text;
}

bool matches(const Outcome& outcome, int result, const std::vector<std::string>& messages) {
    if (result != outcome.result)
        return false;
    if (outcome.message.empty())
        return messages.empty();
    return messages.size() == 1 && messages[0] == outcome.message;
}

}  // namespace q93::soak
