#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "sim/encoder_model.h"
#include "sim/encoder_store.h"
#include "sim/fault_plan.h"
#include "sim/request_handler.h"

namespace q93::sim {

// What a transport sends back for one request: chunks of wire bytes in order (each one
// frame, garbage joined to the frame it precedes), and whether to drop the line.
struct Outgoing {
    std::vector<std::vector<std::uint8_t>> chunks;
    bool closeLine = false;
    int requestNumber = 0;  // 0 when the frame was not a request (bad checksum, ...)
};

// The encoder as the transports see it: a received frame in, the frames to send out. It
// checks the frame, counts it as a request, lets the handler answer it, saves changed
// blocks to the store, and applies the faults of the plan. One request at a time, whatever
// the number of connections.
class EncoderService {
public:
    EncoderService(EncoderModel& model, FaultPlan& faults, const EncoderStore* store = nullptr)
        : model_(model), faults_(faults), store_(store), handler_(model) {}

    // A raw frame as cut from the line (FE to FF, stuffed). `acknowledge`: send the ACK
    // frame first (always on TCP, on the pty unless --serial-ack 0). `where` names the
    // connection in log lines.
    Outgoing onFrame(std::span<const std::uint8_t> rawFrame, bool acknowledge, const std::string& where);

    // The same for a payload that is already checked.
    Outgoing onPayload(const Payload& payload, bool acknowledge, const std::string& where);

    const FaultPlan& faults() const { return faults_; }
    EncoderModel& model() { return model_; }

private:
    std::uint8_t nextSequence() { return static_cast<std::uint8_t>(sequence_.fetch_add(1)); }

    EncoderModel& model_;
    FaultPlan& faults_;
    const EncoderStore* store_;
    RequestHandler handler_;
    std::mutex mutex_;
    // The encoder's own sequence counter for the frames it sends; the tool's frameSequence
    // is left alone.
    std::atomic<std::uint32_t> sequence_{0};
};

}  // namespace q93::sim
