#include "sim/encoder_service.h"

#include "sim/answer_frames.h"
#include "sim/frame_reader.h"
#include "sim/sim_log.h"

namespace q93::sim {

namespace {

const std::vector<std::uint8_t> kAckPayload = {0x18, 0x00};

}  // namespace

Outgoing EncoderService::onFrame(std::span<const std::uint8_t> rawFrame, bool acknowledge,
                                 const std::string& where) {
    const DecodedRequest decoded = decodeRequest(rawFrame);
    if (decoded.check != RequestCheck::Ok) {
        // A damaged request is not answered at all: the encoder cannot know what was asked,
        // and the tool then reports its time-out.
        logLine(where + ": ignored a frame (" + describeCheck(decoded.check) + "): " + hexBytes(rawFrame));
        return {};
    }
    return onPayload(decoded.payload, acknowledge, where);
}

Outgoing EncoderService::onPayload(const Payload& payload, bool acknowledge, const std::string& where) {
    std::lock_guard<std::mutex> guard(mutex_);
    Outgoing out;
    const int n = faults_.nextRequest();
    out.requestNumber = n;

    Reply reply;
    {
        auto lock = model_.lock();
        reply = handler_.handle(payload);
        if (store_ != nullptr) {
            if (reply.changedPreset > 0) store_->savePreset(model_, reply.changedPreset);
            if (reply.changedDevice) store_->saveDevice(model_);
        }
    }
    const std::string head = where + " #" + std::to_string(n) + ": ";
    if (!reply.known) {
        logLine(head + reply.what);
    } else {
        logVerbose(head + reply.what + " <- " + hexBytes(payload) +
                   (reply.answer ? " -> " + hexBytes(*reply.answer) : ""));
    }

    if (faults_.silent()) {
        logVerbose(head + "silent: no reply");
        return out;
    }
    if (faults_.has(n, FaultKind::Close)) {
        logLine(head + "fault close: no reply, line dropped");
        out.closeLine = true;
        return out;
    }

    std::optional<Payload> ack;
    if (acknowledge) ack = kAckPayload;
    std::optional<Payload> answer = reply.answer;

    if (faults_.has(n, FaultKind::DropAnswer)) {
        if (answer) {
            answer.reset();
        } else {
            ack.reset();
        }
        logLine(head + "fault drop-answer");
    }
    if (faults_.has(n, FaultKind::DropAck)) {
        ack.reset();
        logLine(head + "fault drop-ack");
    }
    if (faults_.has(n, FaultKind::WrongCode)) {
        if (answer && !answer->empty()) {
            (*answer)[0] = wrongCodeFor((*answer)[0]);
        } else if (ack) {
            (*ack)[0] = wrongCodeFor((*ack)[0]);
        }
        logLine(head + "fault wrong-code");
    }

    if (ack) out.chunks.push_back(answerFrame(*ack, nextSequence()));
    if (answer) {
        if (faults_.has(n, FaultKind::Oversize)) {
            const int size = faults_.amount(n, FaultKind::Oversize);
            out.chunks.push_back(oversizeFrame(*answer, nextSequence(), static_cast<std::size_t>(size)));
            logLine(head + "fault oversize: answer of " + std::to_string(out.chunks.back().size()) + " bytes");
        } else {
            out.chunks.push_back(answerFrame(*answer, nextSequence()));
        }
    } else if (ack && faults_.has(n, FaultKind::Oversize)) {
        const int size = faults_.amount(n, FaultKind::Oversize);
        out.chunks.back() = oversizeFrame(*ack, static_cast<std::uint8_t>(sequence_.load() - 1),
                                          static_cast<std::size_t>(size));
        logLine(head + "fault oversize: acknowledgement of " + std::to_string(out.chunks.back().size()) + " bytes");
    }

    if (faults_.has(n, FaultKind::BadCrc)) {
        for (auto& chunk : out.chunks) chunk = withBadChecksum(chunk);
        logLine(head + "fault bad-crc");
    }
    if (faults_.has(n, FaultKind::NoEnd) && !out.chunks.empty()) {
        out.chunks.back().pop_back();
        logLine(head + "fault no-end");
    }
    if (faults_.has(n, FaultKind::Garbage)) {
        const int count = faults_.amount(n, FaultKind::Garbage);
        std::vector<std::uint8_t> garbage = garbageBytes(static_cast<std::size_t>(count), static_cast<std::uint32_t>(n));
        if (out.chunks.empty()) {
            out.chunks.push_back(std::move(garbage));
        } else {
            out.chunks.front().insert(out.chunks.front().begin(), garbage.begin(), garbage.end());
        }
        logLine(head + "fault garbage: " + std::to_string(count) + " bytes");
    }
    return out;
}

}  // namespace q93::sim
