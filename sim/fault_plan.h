#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace q93::sim {

enum class FaultKind {
    DropAnswer,  // drop-answer:N   the data answer of request N is not sent (its ack is)
    DropAck,     // drop-ack:N      the acknowledgement of request N is not sent
    WrongCode,   // wrong-code:N    the first payload byte of the answer is wrong
    BadCrc,      // bad-crc:N       the frames of the reply carry a wrong checksum
    Garbage,     // garbage:N[:C]   C bytes (default 16) of garbage before the reply
    NoEnd,       // no-end:N        the last frame of the reply has no end byte
    Oversize,    // oversize:N[:S]  the data answer padded to S bytes on the wire (default 512)
    Close,       // close:N         TCP: connection closed; pty: the line goes silent
    Delay,       // delay:MS        every frame sent waits MS ms first
    Trickle,     // trickle:MS      every byte sent is followed by a pause of MS ms
};

struct Fault {
    FaultKind kind = FaultKind::DropAnswer;
    int request = 0;  // the N-th request, counted from 1 over the whole run; 0 for Delay/Trickle
    int amount = 0;   // garbage bytes, oversize bytes, or milliseconds
};

// Reads one --fault FAULT; nullopt with a reason in *error when it cannot.
std::optional<Fault> parseFault(std::string_view text, std::string* error);
std::string describeFault(const Fault& fault);
// The --help text of every fault, one line each.
const char* faultHelp();

// The faults of a run and the request counter they refer to. The counter covers every
// request that arrives with a good checksum, on any connection and transport, counted
// from 1; frames that fail the checksum are not requests and are not counted.
class FaultPlan {
public:
    FaultPlan() = default;
    explicit FaultPlan(std::vector<Fault> faults) : faults_(std::move(faults)) {}

    void add(const Fault& fault) { faults_.push_back(fault); }

    // Counts a request and returns its number.
    int nextRequest() { return ++requests_; }
    int requestsSeen() const { return requests_.load(); }

    // The faults that apply to request n (Delay and Trickle apply to all and are not listed).
    std::vector<Fault> faultsFor(int n) const;
    bool has(int n, FaultKind kind) const;
    int amount(int n, FaultKind kind) const;  // of the first such fault, else 0
    int delayMs() const;
    int trickleMs() const;
    const std::vector<Fault>& faults() const { return faults_; }

    // An encoder that takes every request and replies to none, its connections kept open.
    void silence() { silent_ = true; }
    bool silent() const { return silent_; }

private:
    bool silent_ = false;
    std::vector<Fault> faults_;
    std::atomic<int> requests_{0};
};

}  // namespace q93::sim
